// Damaged outputs: one byte changed in each region of a collection image or
// an upload image is reported as the fault of that region; files cut at every
// length end with a message and a non-zero exit code, never a crash.
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "formats/crc16.hpp"
#include "tests/inspect/inspect_session.hpp"

namespace {

using namespace std::string_literals;

// A collection of two files, big-endian, aligned, with 4-byte lengths at
// 0x20000000, and its image worked out byte by byte.
const std::string CONTROL = "#define BIG_ENDIAN 1\n#define ALIGN 1\n#define MAX_FILE_LENGTH 4\n#define FILE_HEADER_LEN 0\n"
                            "%20000000\n#define MIME_HTML 2\n#define MIME_B 300\n#define FILE_VISIBLE 1\n"
                            "#define VIS_H 0\na.htm \nb.htm -t=MIME_B -c=VIS_H\n";
const std::string IMAGE = "1234567"s + "xy"s + "a.htm\0"s + "b.htm\0"s + "\0\0\0"s +              // 0: data, names, padding
                          "\x20\0\0\x09\x20\0\0\0\0\0\0\x07\x02\x81\0\0"s +                 // 24: record 1
                          "\x20\0\0\x0F\x20\0\0\x07\0\0\0\x02\x2C\x80\0\0"s +               // 40: record 2
                          std::string(16, '\0') + "\x20\0\0\x18"s;                                  // 56: end, location

// What flipping a bit of one byte of IMAGE must give. In the message,
// {image} is the image's path, {byte} the offset from the region's first
// byte, and {word}, {length}, {half} and {name} quote the changed image at
// field: a big-endian word in hex or in decimal, its first 16 bits in hex, a
// name up to its zero byte with control bytes as '?'.
struct Region {
    std::size_t first, last;
    unsigned char flip;  // 0: either flip, 0x01 or 0x80
    int code;
    std::size_t field;
    const char* message;
};

const Region REGIONS[] = {
    {0, 6, 0, 5, 0, "Record 1 of {image} differs from file a.htm at byte {byte}."},
    {7, 8, 0, 5, 0, "Record 2 of {image} differs from file b.htm at byte {byte}."},
    {9, 13, 0, 5, 9, "Record 1 of {image} is named {name}; the control file gives a.htm."},
    // Name 1 then runs into name 2, which no longer starts where it ends.
    {14, 14, 0, 4, 40, "Image {image}, record 2: the name address 0x{word} is not where the name belongs."},
    // Name 2 runs into the padding, which is still long enough.
    {15, 20, 0, 5, 15, "Record 2 of {image} is named {name}; the control file gives b.htm."},
    {21, 23, 0, 4, 0, "Image {image}: the padding before the header table is not zero."},
    {24, 26, 0, 4, 24, "Image {image}, record 1: the name address 0x{word} is not where the name belongs."},
    {27, 27, 0x80, 4, 24, "Image {image}, record 1: the name address 0x{word} is not where the name belongs."},
    // Name 1 one byte earlier: the data area ends one byte earlier too.
    {27, 27, 0x01, 4, 48, "Image {image}, record 2: the length {length} does not fit its data block."},
    {28, 31, 0, 4, 28, "Image {image}, record 1: the data address 0x{word} is not where the data belongs."},
    {32, 35, 0, 4, 32, "Image {image}, record 1: the length {length} does not fit its data block."},
    {36, 36, 0x01, 5, 0, "Record 1 of {image} has type 0x03; MIME_HTML gives 0x02."},
    {36, 36, 0x80, 5, 0, "Record 1 of {image} has type 0x82; MIME_HTML gives 0x02."},
    {37, 37, 0x01, 5, 0, "Record 1 of {image} has visibility 0x80; FILE_VISIBLE gives 0x81."},
    {37, 37, 0x80, 4, 0, "Image {image}, record 1: the visibility byte lacks bit 7."},
    {38, 39, 0, 4, 0, "Image {image}, record 1: its padding is not zero."},
    {40, 43, 0, 4, 40, "Image {image}, record 2: the name address 0x{word} is not where the name belongs."},
    // Data 2 moved out of the data area: record 2's address is quoted; moved
    // within it, block 1 no longer fits its length.
    {44, 46, 0, 4, 44, "Image {image}, record 2: the data address 0x{word} is not where the data belongs."},
    {47, 47, 0x80, 4, 44, "Image {image}, record 2: the data address 0x{word} is not where the data belongs."},
    {47, 47, 0x01, 4, 32, "Image {image}, record 1: the length {length} does not fit its data block."},
    {48, 51, 0, 4, 48, "Image {image}, record 2: the length {length} does not fit its data block."},
    {52, 52, 0x01, 5, 0, "Record 2 of {image} has type 0x2D; MIME_B gives 0x2C."},
    {52, 52, 0x80, 5, 0, "Record 2 of {image} has type 0xAC; MIME_B gives 0x2C."},
    {53, 53, 0x01, 5, 0, "Record 2 of {image} has visibility 0x81; VIS_H gives 0x80."},
    {53, 53, 0x80, 4, 0, "Image {image}, record 2: the visibility byte lacks bit 7."},
    {54, 55, 0, 4, 0, "Image {image}, record 2: its padding is not zero."},
    {56, 71, 0, 4, 0, "Image {image}: the sixteen bytes that end the list are not all zero."},
    {72, 74, 0, 4, 72, "Image {image}: the user table location 0x{word} lies outside the image."},
    {75, 75, 0x80, 4, 72, "Image {image}: the user table location 0x{word} lies outside the image."},
    // 0x19: 31 bytes up to the end of the list.
    {75, 75, 0x01, 4, 0, "Image {image}: the header table is not a whole number of 16-byte records."},
};

std::string filled(std::string text, std::string_view key, const std::string& value)
{
    for (std::size_t at; (at = text.find(key)) != std::string::npos;) {
        text.replace(at, key.size(), value);
    }
    return text;
}

// The message of region for the byte at offset of the changed image bad.
std::string message_of(const Region& region, std::size_t offset, const std::string& bad, const std::string& image)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bad[region.field + i]); };
    const std::uint32_t word = static_cast<std::uint32_t>(byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3));
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(word));
    char half[5];
    std::snprintf(half, sizeof half, "%04X", static_cast<unsigned>(word >> 16));
    std::string name = bad.substr(region.field, bad.find('\0', region.field) - region.field);
    for (char& c : name) {
        c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
    std::string text = filled(region.message, "{image}", image);
    text = filled(text, "{byte}", std::to_string(offset - region.first));
    text = filled(text, "{word}", hex);
    text = filled(text, "{length}", std::to_string(word));
    text = filled(text, "{half}", half);
    return filled(text, "{name}", name) + " Terminating\n\n";
}

TEST(InspectFaults, EveryChangedByteOfAnImageIsNamed)
{
    ScratchDir dir;
    write_file(dir / "ctl.txt", CONTROL);
    write_file(dir / "a.htm", "1234567");
    write_file(dir / "b.htm", "xy");
    ASSERT_EQ(run_program(installed_program("KorvaneFileCreate"), {"-f", "ctl.txt", "img.bin"}, dir.path).exit_code, 0);
    ASSERT_EQ(read_file(dir / "img.bin"), IMAGE);
    for (std::size_t offset = 0; offset < IMAGE.size(); ++offset) {
        for (unsigned char flip : {0x01, 0x80}) {
            const Region* region = nullptr;
            for (const Region& r : REGIONS) {
                region = offset >= r.first && offset <= r.last && (r.flip == 0 || r.flip == flip) ? &r : region;
            }
            ASSERT_NE(region, nullptr) << offset;
            std::string bad = IMAGE;
            bad[offset] = static_cast<char>(bad[offset] ^ flip);
            write_file(dir / "bad.bin", bad);
            const RunResult r = inspect_here({"-C", dir.path, "image", dir / "ctl.txt", dir / "bad.bin"});
            EXPECT_EQ(r.exit_code, region->code) << "offset " << offset << " flip " << int{flip};
            EXPECT_TRUE(r.out.ends_with("\n" + message_of(*region, offset, bad, dir / "bad.bin")))
                << "offset " << offset << " flip " << int{flip} << "\n" << r.out;
        }
    }
}

// The regions of an upload image of 40 bytes made with the magic A55A and
// the suffix bytes 4B 56, with an 8-byte header and with key bytes (a 10-byte
// header). {crc} is the image CRC of the changed image, {plain} that of the
// input, both with the suffix.
const Region PLAIN_UPLOAD[] = {
    {0, 3, 0, 4, 0, "Upload image {image}: the header gives {length} image bytes, the file holds 40 behind the header."},
    {4, 5, 0, 5, 4, "Upload image {image}: the magic 0x{half} is not 0xA55A."},
    {6, 7, 0, 5, 6, "Upload image {image}: the image CRC 0x{half} does not match the image (0x{crc})."},
    {8, 47, 0, 5, 6, "Upload image {image}: the image CRC 0x{half} does not match the image (0x{crc})."},
};
const Region KEYED_UPLOAD[] = {
    {0, 3, 0, 4, 0, "Upload image {image}: the header gives {length} image bytes, the file holds 40 behind the header."},
    {4, 5, 0, 5, 4, "Upload image {image}: the magic 0x{half} is not 0xA55A."},
    {6, 7, 0, 5, 6, "Upload image {image}: the image CRC 0x{half} does not match the image (0x{crc})."},
    {8, 9, 0, 5, 8,
     "Upload image {image}: the plain-image CRC 0x{half} does not match the recovered image (0x{plain})."},
    {10, 49, 0, 5, 6, "Upload image {image}: the image CRC 0x{half} does not match the image (0x{crc})."},
};

// CRC-16/XMODEM a bit at a time, over bytes and then the suffix bytes 4B 56.
std::string crc_text(const std::string& bytes)
{
    std::uint16_t crc = 0;
    for (char byte : bytes + "\x4B\x56") {
        crc = crc16_bitwise(crc, static_cast<unsigned char>(byte));
    }
    char text[5];
    std::snprintf(text, sizeof text, "%04X", unsigned{crc});
    return text;
}

TEST(InspectFaults, EveryChangedByteOfAnUploadImageIsNamed)
{
    ScratchDir dir;
    const std::string input = random_bytes(40, 3);
    write_file(dir / "in.bin", input);
    struct Form {
        std::vector<std::string> args;
        std::span<const Region> regions;
    };
    const Form forms[] = {{{"-m-A55A", "-4B56"}, PLAIN_UPLOAD},
                          {{"-m-A55A", "-4B56", "-1337C0DE", "-1D0F", "-0010"}, KEYED_UPLOAD}};
    for (const Form& form : forms) {
        std::vector<std::string> make = {"in.bin", "up.bin"};
        make.insert(make.end(), form.args.begin(), form.args.end());
        ASSERT_EQ(run_program(installed_program("KorvaneConvert"), make, dir.path).exit_code, 0);
        const std::string image = read_file(dir / "up.bin");
        const std::size_t header = image.size() - input.size();
        for (const Region& region : form.regions) {
            for (std::size_t offset = region.first; offset <= region.last; ++offset) {
                std::string bad = image;
                bad[offset] = static_cast<char>(bad[offset] ^ 0x01);
                write_file(dir / "bad.bin", bad);
                std::vector<std::string> check = {"upload", dir / "bad.bin"};
                check.insert(check.end(), form.args.begin(), form.args.end());
                const RunResult r = inspect_here(check);
                std::string want = message_of(region, offset, bad, dir / "bad.bin");
                want = filled(filled(want, "{crc}", crc_text(bad.substr(header))), "{plain}", crc_text(input));
                EXPECT_EQ(r.exit_code, region.code) << offset << "\n" << r.out;
                EXPECT_TRUE(r.out.ends_with("\n" + want) || r.out == want) << offset << "\n" << r.out;
            }
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
