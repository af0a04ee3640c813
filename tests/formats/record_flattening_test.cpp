// Record flattening and the command line's hex digits, tested directly.
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "formats/firmware_input.hpp"
#include "formats/upload_arguments.hpp"
#include "formats/record_flattening.hpp"
#include "tests/common/test_support.hpp"

namespace {

using Bytes = std::vector<unsigned char>;

// One record: big-endian address and length, then the data.
Bytes record(std::uint32_t address, const Bytes& data, std::uint32_t length_field = UINT32_MAX)
{
    std::uint32_t length = length_field == UINT32_MAX ? static_cast<std::uint32_t>(data.size()) : length_field;
    Bytes r;
    for (int shift = 24; shift >= 0; shift -= 8) {
        r.push_back(static_cast<unsigned char>(address >> shift));
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
        r.push_back(static_cast<unsigned char>(length >> shift));
    }
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// The image input flattens to, made in place as the program makes it.
Bytes flatten(const Bytes& input)
{
    const Flattening flattening = flatten_records(input);
    if (flattening.outcome != FlattenOutcome::records) {
        return input;
    }
    Bytes buffer(flattening.lead + input.size());
    std::copy(input.begin(), input.end(), buffer.begin() + flattening.lead);
    flatten_in_place(buffer.data(), std::span(buffer.data() + flattening.lead, input.size()), flattening);
    buffer.resize(flattening.image_length);
    return buffer;
}

TEST(Flattening, RecordSequences)
{
    const Bytes a = {1, 2, 3, 4};
    const Bytes b = {9, 8};
    struct Case {
        const char* what;
        Bytes input;
        Bytes image;
    };
    const Case cases[] = {
        {"empty input", {}, {}},
        {"one empty record", record(0x1000, {}), {}},
        {"back to back", join({record(0x100, a), record(0x104, b)}), {1, 2, 3, 4, 9, 8}},
        {"gap of 16", join({record(0x100, a), record(0x114, b)}),
         join({a, Bytes(16, 0xFF), b})},
        {"empty first record sets the base", join({record(0x200, {}), record(0x204, b)}),
         {0xFF, 0xFF, 0xFF, 0xFF, 9, 8}},
        {"empty record below the end is ignored", join({record(0x100, a), record(0x50, {}), record(0x104, b)}),
         {1, 2, 3, 4, 9, 8}},
        {"empty record at the end changes nothing", join({record(0x100, a), record(0x104, {}), record(0x104, b)}),
         {1, 2, 3, 4, 9, 8}},
        {"empty last record pads", join({record(0x100, a), record(0x108, {})}), join({a, Bytes(4, 0xFF)})},
        {"address wraps past 4 GiB", join({record(0xFFFFFFFE, a), record(0x2, b)}), {1, 2, 3, 4, 9, 8}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(flatten(c.input), c.image) << c.what;
    }
}

TEST(Flattening, InputsThatPassThroughUnchanged)
{
    const Bytes a = {1, 2, 3, 4};
    const Bytes flat = {0x12, 0x34, 0x56, 0x78, 0xF0, 0x00, 0x00, 0x00, 1, 2, 3};
    struct Case {
        const char* what;
        Bytes input;
    };
    const Case cases[] = {
        {"length beyond the input", record(0x100, a, 5)},
        {"flat image", flat},
        {"tail of 1 byte", join({record(0x100, a), Bytes{7}})},
        {"tail of 7 bytes", join({record(0x100, a), Bytes(7, 0)})},
        // Records that would be refused, but the input breaks off later:
        // not a record stream after all.
        {"overlap, then a short tail", join({record(0x100, a), record(0x102, a), Bytes(3, 0)})},
        {"descending, then a record cut short", join({record(0x100, a), record(0x50, a), record(0x200, a, 9)})},
        {"gap reaching the limit, then a short tail", join({record(0, a), record(IMAGE_LIMIT, {}), Bytes{1}})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(flatten_records(c.input).outcome, FlattenOutcome::pass_through) << c.what;
        EXPECT_EQ(flatten(c.input), c.input) << c.what;
    }
}

TEST(Flattening, WholeRecordStreamsThatCannotBeFlattenedAreRefused)
{
    const Bytes a = {1, 2, 3, 4};
    struct Case {
        const char* what;
        Bytes input;
        FlattenOutcome outcome;
        std::uint32_t record;
        std::uint32_t address;
        std::uint64_t needed;  // too_large only
    };
    const Case cases[] = {
        {"overlap", join({record(0x100, a), record(0x102, a)}), FlattenOutcome::overlap, 2, 0x102, 0},
        {"descending after a skipped record", join({record(0x100, a), record(0x50, {}), record(0x50, a)}),
         FlattenOutcome::overlap, 3, 0x50, 0},
        {"gap reaching the limit", join({record(0, a), record(IMAGE_LIMIT, {})}), FlattenOutcome::too_large, 2,
         IMAGE_LIMIT, IMAGE_LIMIT},
        {"gap and data beyond the limit", join({record(0x10, a), record(0x10 + IMAGE_LIMIT, a)}),
         FlattenOutcome::too_large, 2, 0x10 + IMAGE_LIMIT, IMAGE_LIMIT + 4},
        {"data reaching the limit", join({record(0, {1}), record(IMAGE_LIMIT - 2, {2, 3})}),
         FlattenOutcome::too_large, 2, IMAGE_LIMIT - 2, IMAGE_LIMIT},
    };
    for (const auto& c : cases) {
        const Flattening f = flatten_records(c.input);
        EXPECT_EQ(f.outcome, c.outcome) << c.what;
        EXPECT_EQ(f.record, c.record) << c.what;
        EXPECT_EQ(f.address, c.address) << c.what;
        EXPECT_EQ(f.outcome == FlattenOutcome::too_large ? f.needed : 0, c.needed) << c.what;
    }
}

TEST(Flattening, SizeLimit)
{
    // Data plus fill of exactly IMAGE_LIMIT - 1 bytes is accepted ...
    Bytes ok = join({record(0, {1}), record(IMAGE_LIMIT - 2, {2})});
    Bytes image = flatten(ok);
    ASSERT_EQ(image.size(), IMAGE_LIMIT - 1);
    EXPECT_EQ(image.front(), 1);
    EXPECT_EQ(image.back(), 2);
    EXPECT_EQ(image[IMAGE_LIMIT / 2], 0xFF);
    // (one more byte reaches the limit: see the refused streams above)
}

TEST(Flattening, AnySplitIntoAscendingRecordsGivesTheImageBack)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::string raw = random_bytes(3000 + seed * 11, seed);
        Bytes image(raw.begin(), raw.end());
        Bytes input;
        std::size_t pos = 0;
        unsigned step = seed;
        while (pos < image.size()) {
            std::size_t len = std::min<std::size_t>(image.size() - pos, (step * 7919) % 500);
            step = step * 31 + 7;
            input = join({input, record(0x08000000 + static_cast<std::uint32_t>(pos),
                                        Bytes(image.begin() + static_cast<long>(pos),
                                              image.begin() + static_cast<long>(pos + len)))});
            pos += len;
        }
        EXPECT_EQ(flatten(input), image) << seed;
    }
}

// ELF, Intel HEX and S-records as KorvaneConvert reads them: the fault, or
// the image. The fixtures are the golden cases' inputs, made by objcopy.
struct Read {
    InputFault fault = InputFault::none;
    std::string image;
    InputFormat format = InputFormat::flat;
};

Read read_input(const std::string& text)
{
    const std::span input(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    FirmwareInput examined = examine_input(input);
    Read r{examined.place.fault, "", examined.format};
    if (r.fault == InputFault::none) {
        std::string out(examined.image_length + toolchain_work_size(examined) + 1, '\0');
        copy_image(input, examined, reinterpret_cast<unsigned char*>(out.data()),
                   reinterpret_cast<unsigned char*>(out.data()) + examined.image_length);
        r.fault = examined.place.fault;
        r.image = r.fault == InputFault::none ? out.substr(0, examined.image_length) : "";
    }
    return r;
}

std::string golden_input(const std::string& name, const std::string& file)
{
    return read_file(source_dir() + "/tests/golden/KorvaneConvert/" + name + "/in/" + file);
}

// One text record: prefix, then the bytes as hex digits, then the checksum
// that makes the bytes sum to 0 (HEX) or 0xFF (S-records).
std::string text_record(const std::string& prefix, const Bytes& bytes, unsigned target)
{
    std::string line = prefix;
    unsigned sum = 0;
    char digits[3];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
        sum += b;
    }
    std::snprintf(digits, sizeof digits, "%02X", (target - sum) & 0xFF);
    return line + digits + "\n";
}

std::string hex(unsigned type, unsigned offset, Bytes data)
{
    data.insert(data.begin(), {static_cast<unsigned char>(data.size()), static_cast<unsigned char>(offset >> 8),
                               static_cast<unsigned char>(offset), static_cast<unsigned char>(type)});
    return text_record(":", data, 0x100);
}

std::string srec(char type, std::uint32_t address, int address_bytes, Bytes data)
{
    for (int i = 0; i < address_bytes; ++i) {
        data.insert(data.begin(), static_cast<unsigned char>(address >> (8 * i)));
    }
    data.insert(data.begin(), static_cast<unsigned char>(data.size() + 1));
    return text_record(std::string("S") + type, data, 0xFF);
}

TEST(ToolchainInputs, RecordTexts)
{
    const std::string end = hex(1, 0, {});
    struct Case {
        const char* what;
        std::string text;
        InputFault fault;
        std::string image;
    };
    const Case cases[] = {
        {"any address order", hex(0, 0x104, {9, 8}) + hex(0, 0x100, {1, 2}) + end, InputFault::none,
         std::string("\1\2\xFF\xFF\x09\x08", 6)},
        {"linear and segment bases", hex(4, 0, {0, 0x08}) + hex(0, 2, {5}) + hex(2, 0, {0x80, 0}) + hex(0, 0, {6}) + end,
         InputFault::none, std::string("\6\xFF\5", 3)},
        {"start addresses passed over", hex(5, 0, {8, 0, 0, 1}) + hex(0, 0, {7}) + hex(3, 0, {0, 0, 0, 0}) + end,
         InputFault::none, "\7"},
        {"CR LF", ":0100000007F8\r\n:00000001FF\r\n\r\n", InputFault::none, "\7"},
        {"overlap", hex(0, 0x10, {1, 2}) + hex(0, 0x11, {3}) + end, InputFault::overlap, ""},
        {"overlap out of order", hex(0, 0x11, {3}) + hex(0, 0x10, {1, 2}) + end, InputFault::overlap, ""},
        {"lower-case digit", ":0100000007f8\n" + end, InputFault::bad_digit, ""},
        {"no end record", hex(0, 0, {7}), InputFault::no_end, ""},
        {"end record with data", hex(0, 0, {7}) + hex(1, 0, {1}), InputFault::bad_type, ""},
        {"text after the end", hex(0, 0, {7}) + end + "x\n", InputFault::after_end, ""},
        {"type 06", hex(0, 0, {7}) + hex(6, 0, {}) + end, InputFault::bad_type, ""},
        {"a line that is no record", hex(0, 0, {7}) + "\n" + end, InputFault::not_a_record, ""},
        {"image reaching the limit", hex(0, 0, {7}) + hex(4, 0, {0, 0x20}) + hex(0, 0xFFFF, {1}) + end,
         InputFault::too_large, ""},
        {"only an end record", end, InputFault::no_data, ""},
        {"S-records with counts", srec('0', 0, 2, {'h'}) + srec('3', 0x080001, 4, {2}) + srec('2', 0x080000, 3, {1}) +
                                      srec('5', 2, 2, {}) + srec('7', 0, 4, {}),
         InputFault::none, "\1\2"},
        {"S5 count wrong", srec('1', 0, 2, {1}) + srec('5', 2, 2, {}) + srec('9', 0, 2, {}), InputFault::bad_count, ""},
        {"S4", srec('1', 0, 2, {1}) + srec('4', 0, 2, {}) + srec('9', 0, 2, {}), InputFault::bad_type, ""},
        {"S-records without end", srec('1', 0, 2, {1}), InputFault::no_end, ""},
        {"neither: a colon and text", ":hello, world\n", InputFault::none, ":hello, world\n"},
    };
    for (const auto& c : cases) {
        const Read r = read_input(c.text);
        EXPECT_EQ(r.fault, c.fault) << c.what;
        EXPECT_EQ(r.image, c.image) << c.what;
    }
}

TEST(ToolchainInputs, EveryChangedCharacterOfARecordIsRefused)
{
    for (const auto& [name, file] : {std::pair{"intel_hex", "app.hex"}, std::pair{"s_records", "app.srec"}}) {
        const std::string text = golden_input(name, file);
        ASSERT_EQ(read_input(text).fault, InputFault::none) << name;
        int accepted = 0;
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::size_t stop = text[end - 1] == '\r' ? end - 1 : end;
            // Data and checksum: behind ":LLAAAATT", or behind "STLL" and the address.
            const std::size_t from = text[start] == ':' ? 9 : 4 + 2 * std::string("2234023432")[text[start + 1] - '0'] - 2 * '0';
            for (std::size_t pos = start + from; pos < stop; ++pos) {
                for (int value = 0; value < 256; ++value) {
                    std::string changed = text;
                    changed[pos] = static_cast<char>(value);
                    if (changed[pos] != text[pos] && read_input(changed).fault == InputFault::none && ++accepted < 5) {
                        ADD_FAILURE() << name << ": byte " << pos << " as " << value << " accepted";
                    }
                }
            }
        }
        EXPECT_EQ(accepted, 0) << name;
    }
}

TEST(ToolchainInputs, ElfCutAtEveryLengthIsRefused)
{
    for (const char* name : {"elf_cortex_m_little_endian", "elf_cortex_m_big_endian", "elf_s390x"}) {
        const std::string elf = golden_input(name, "app.elf");
        ASSERT_EQ(read_input(elf).fault, InputFault::none) << name;
        for (std::size_t length = 1; length < elf.size(); ++length) {
            const Read r = read_input(elf.substr(0, length));
            ASSERT_TRUE(r.format == InputFormat::elf && r.fault != InputFault::none) << name << " cut to " << length;
        }
    }
}

TEST(ToolchainInputs, WarningsOnlyForRecordsReadOtherwise)
{
    const Bytes a = {1, 2, 3, 4};
    EXPECT_EQ(examine_input(join({record(0, a), record(4, a), record(8, a, 5)})).doubt, InputDoubt::broken_off);
    EXPECT_EQ(examine_input(join({record(0, a), record(8, a, 5)})).doubt, InputDoubt::none);  // one record only
    EXPECT_EQ(examine_input(Bytes(4096, 0)).doubt, InputDoubt::all_empty);
    EXPECT_EQ(examine_input(Bytes(8, 0)).doubt, InputDoubt::none);
    // No warning for flat images: random ones of 1 KiB to 1 MiB, and every example file.
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 1000; ++i) {
        Bytes flat(1024u << (i % 11));
        for (auto& b : flat) {
            state ^= state << 13, state ^= state >> 7, state ^= state << 17;
            b = static_cast<unsigned char>(state >> 32);
        }
        ASSERT_EQ(examine_input(flat).doubt, InputDoubt::none) << i;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source_dir() + "/examples")) {
        const std::string bytes = entry.is_regular_file() ? read_file(entry.path().string()) : "";
        const Read r = read_input(bytes);
        EXPECT_EQ(examine_input(Bytes(bytes.begin(), bytes.end())).doubt, InputDoubt::none) << entry.path();
        EXPECT_EQ(r.fault, InputFault::none) << entry.path();
    }
}

TEST(HexDigits, LaxNibbles)
{
    EXPECT_EQ(parse_hex_digits("BEEF", 4), 0xBEEF);
    EXPECT_EQ(parse_hex_digits("beef", 4), 0xBEEF);
    EXPECT_EQ(parse_hex_digits("0129", 4), 0x0129);
    EXPECT_EQ(parse_hex_digits("G", 1), ('G' + 9) % 16);
    EXPECT_EQ(parse_hex_digits("12345", 5), 0x2345);  // kept to 16 bits
    EXPECT_EQ(parse_hex_digits("\xff", 1), (0xFF + 9) % 16);
}

// What arguments 3 to 7 hold that is read otherwise than written: at most one
// note per argument and kind, and none for the characters never examined.
TEST(HexDigits, ArgumentNotes)
{
    struct Case {
        std::vector<const char*> args;
        std::string notes;  // argument, kind (x not hex, + past the field), count, value; per note
    };
    const std::string suffix_201 = "-" + std::string(201, '4');
    const Case cases[] = {
        {{"-m-XYZW"}, "3x4:1230"},
        {{"--magic=A55A"}, "3x2:A02C 3+5"},
        {{"-m-A55A", "-", "-13G7C0DE", "-1D0F", "-00zz"}, "5x1:7 7x2:33"},
        {{"?m?A55A", "x4B56", "k13", "s1D0F0", "r0010"}, "6+1"},
        {{"-m-A55A", suffix_201.c_str(), "-13"}, "4+1"},
        {{"-m-A55A", suffix_201.c_str() + 1}, ""},  // exactly 200 digits
        {{"-bXYZW", "-zz", "-q", "-x", "-y"}, ""},
    };
    for (const Case& c : cases) {
        ConvertRequest request;
        const ArgumentReading reading = read_upload_arguments(c.args, request);
        std::string notes;
        for (std::size_t i = 0; i < reading.note_count; ++i) {
            const ArgumentNote& n = reading.notes[i];
            char text[32];
            std::snprintf(text, sizeof text, n.kind == ArgumentNoteKind::not_hex ? "%s%dx%zu:%X" : "%s%d+%zu",
                          notes.empty() ? "" : " ", n.argument, n.count, n.value);
            notes += text;
        }
        EXPECT_EQ(reading.fault, ArgumentFault::none) << c.args[0];
        EXPECT_EQ(notes, c.notes) << c.args[0];
    }
    ArgumentNote note{ArgumentNoteKind::not_hex, 3, 4, 4, 'X', 0x1230, 0};
    EXPECT_STREQ(describe_argument_note(note).data(), "argument 3 has X where a hex digit belongs (character 4, and 3 "
                                                      "more like it), read as 1, so the magic reads 0x1230");
}

}  // namespace
