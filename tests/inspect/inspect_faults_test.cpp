// Damaged outputs: one byte changed in each region of a collection image or
// an upload image is reported as the fault of that region; files cut at every
// length end with a message and a non-zero exit code, never a crash.
#include <gtest/gtest.h>
#include <string_view>
#include <string>
#include <vector>

#include "tests/inspect/inspect_session.hpp"

namespace {

struct Expected {
    int code;             // 0: the structure (4) or the name (5), as the padding after it decides
    std::string pattern;  // the message: alternatives split by '|', '*' for any text
};

// Whether pattern stands in text, '*' standing for any text: the earliest
// place of each piece leaves the most room for the rest.
bool found(std::string_view text, std::string_view pattern)
{
    const std::size_t star = pattern.find('*');
    const std::size_t at = text.find(pattern.substr(0, star));
    if (at == std::string_view::npos || star == std::string_view::npos) {
        return at != std::string_view::npos;
    }
    return found(text.substr(at + star), pattern.substr(star + 1));
}

bool matches(std::string_view text, std::string_view alternatives)
{
    for (std::size_t bar; (bar = alternatives.find('|')) != std::string_view::npos;
         alternatives.remove_prefix(bar + 1)) {
        if (found(text, alternatives.substr(0, bar))) {
            return true;
        }
    }
    return found(text, alternatives);
}

std::string n(std::size_t value)
{
    return std::to_string(value);
}

// What changing the byte at offset of the image must give, from the layout
// the collection was made with.
Expected expected_for(const Collection& c, std::size_t offset, unsigned char change)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < c.files.size(); ++i) {
        if (offset < start + c.files[i].data.size()) {
            const std::string at = "Record " + n(i + 1) + " of * differs from file * at byte " + n(offset - start);
            return {5, at + ".|" + at + " after"};
        }
        start += c.files[i].data.size();
    }
    for (std::size_t i = 0; i < c.files.size(); ++i) {
        const std::size_t end = start + c.files[i].stored.size();
        if (offset < end) {
            return {5, "Record " + n(i + 1) + " of * is named "};
        }
        if (offset == end) {
            return {0, "record " + n(i + 2) + ": the name address|no zero byte ends|does not follow the names|Record " +
                           n(i + 1) + " of * is named "};
        }
        start = end + 1;
    }
    const std::size_t table = record_offset(c, 0);
    if (offset < table) {
        return {4, "padding before the header table"};
    }
    const std::size_t size = record_size(c);
    const std::size_t record = (offset - table) / size;
    const std::size_t field = (offset - table) % size;
    const std::size_t length_end = c.four_byte_lengths ? 12 : 10;
    const std::string number = n(record + 1);
    if (record >= c.files.size()) {
        // A location moved to another whole number of records before the end
        // of the list reads other bytes as records: a fault of the structure.
        return {4, offset + 4 >= c.image.size() ? "user table location|whole number|sixteen bytes|record"
                                                : "sixteen bytes that end the list"};
    }
    if (field < 4) {
        // The first name address also marks the end of the data area, so
        // moving it may put any data block in the wrong place.
        return {4, record == 0 ? "record *: the name address|record *: the data address|record *: the length|"
                                 "record 1: no zero byte"
                               : "record " + n(record + 1) + ": the name address"};
    }
    if (field < 8) {
        const std::string before = "record " + n(record);
        const std::string here = "record " + number;
        return {4, before + ": the data address|" + before + ": the length|" + here + ": the data address|" + here +
                       ": the length"};
    }
    if (field < length_end) {
        return {4, "record " + number + ": the length"};
    }
    if (field == length_end) {
        return {5, "Record " + number + " of * has type"};
    }
    if (field == length_end + 1) {
        return change == 0x80 ? Expected{4, "record " + number + ": the visibility byte lacks bit 7"}
                              : Expected{5, "Record " + number + " of * has visibility"};
    }
    return {4, "record " + number + ": its padding is not zero"};
}

TEST(InspectFaults, EveryChangedByteOfAnImageIsNamed)
{
    for (unsigned seed : {2u, 9u, 14u, 17u}) {  // both byte orders and length widths, with and without ALIGN
        ScratchDir dir;
        const Collection c = make_collection(dir, seed);
        for (std::size_t offset = 0; offset < c.image.size(); ++offset) {
            for (unsigned char change : {0x01, 0x80}) {
                std::string bad = c.image;
                bad[offset] = static_cast<char>(bad[offset] ^ change);
                write_file(dir / "bad.bin", bad);
                const RunResult r = inspect_here({"-C", dir.path, "image", dir / "ctl.txt", dir / "bad.bin"});
                const Expected want = expected_for(c, offset, change);
                ASSERT_EQ(r.exit_code, want.code == 0 && r.exit_code == 5 ? 5 : want.code == 0 ? 4 : want.code)
                    << "seed " << seed << " offset " << offset << "\n" << r.out;
                ASSERT_TRUE(matches(r.out, want.pattern))
                    << "seed " << seed << " offset " << offset << ": " << want.pattern << "\n" << r.out;
            }
        }
    }
}

TEST(InspectFaults, EveryChangedByteOfAnUploadImageIsNamed)
{
    ScratchDir dir;
    write_file(dir / "in.bin", random_bytes(40, 3));
    const std::vector<std::vector<std::string>> calls = {{"-m-A55A", "-4B56"},
                                                         {"-m-A55A", "-4B56", "-1337C0DE", "-1D0F", "-0010"}};
    for (const auto& args : calls) {
        std::vector<std::string> make = {"in.bin", "up.bin"};
        make.insert(make.end(), args.begin(), args.end());
        ASSERT_EQ(run_program(installed_program("KorvaneConvert"), make, dir.path).exit_code, 0);
        const std::string image = read_file(dir / "up.bin");
        const std::size_t header = args.size() > 2 ? 10 : 8;
        for (std::size_t offset = 0; offset < image.size(); ++offset) {
            std::string bad = image;
            bad[offset] = static_cast<char>(bad[offset] ^ 0x01);
            write_file(dir / "bad.bin", bad);
            std::vector<std::string> check = {"upload", dir / "bad.bin"};
            check.insert(check.end(), args.begin(), args.end());
            const RunResult r = inspect_here(check);
            const Expected want = offset < 4        ? Expected{4, "the header gives"}
                                  : offset < 6      ? Expected{5, "the magic"}
                                  : offset < 8      ? Expected{5, "the image CRC"}
                                  : offset < header ? Expected{5, "the plain-image CRC"}
                                                    : Expected{5, "the image CRC"};
            ASSERT_EQ(r.exit_code, want.code) << offset << "\n" << r.out;
            ASSERT_TRUE(matches(r.out, want.pattern)) << offset << "\n" << r.out;
        }
    }
}

// Every cut of a file gives a message and a non-zero exit code; a GLCD file
// still shows what it holds when the cut comes after its last array.
TEST(InspectFaults, CutFilesAreRefusedAtEveryLength)
{
    ScratchDir dir;
    const Collection c = make_collection(dir, 5);
    write_file(dir / "in.bin", random_bytes(30, 9));
    write_file(dir / "pic.c", "static const unsigned char logo[] = {\r\n0x00,0x00,0x0A,0x00,0x02,\r\n"
                              "0xAA,0x80,0xFF,0xC0,};\r\n\n");
    ASSERT_EQ(run_program(installed_program("KorvaneConvert"), {"in.bin", "up.bin", "-m-A55A", "-", "-77"}, dir.path)
                  .exit_code,
              0);
    const std::string glcd = read_file(dir / "pic.c");
    const std::vector<std::pair<std::string, std::vector<std::string>>> kinds = {
        {c.image, {"image", dir / "ctl.txt", dir / "cut"}},
        {read_file(dir / "up.bin"), {"upload", dir / "cut", "-m-A55A", "-", "-77"}},
        {glcd.substr(0, glcd.find('}')), {"glcd", dir / "cut"}},
    };
    for (const auto& [whole, args] : kinds) {
        for (std::size_t length = 0; length < whole.size(); ++length) {
            write_file(dir / "cut", whole.substr(0, length));
            const RunResult r = inspect_here(args);
            ASSERT_GE(r.exit_code, 4) << args[0] << " cut at " << length << "\n" << r.out;
            ASSERT_TRUE(r.out.ends_with(" Terminating\n\n")) << args[0] << " cut at " << length << "\n" << r.out;
        }
    }
}

}  // namespace
