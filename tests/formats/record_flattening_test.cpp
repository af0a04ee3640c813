// Record flattening and the command line's hex digits, tested directly.
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

TEST(HexDigits, LaxNibbles)
{
    EXPECT_EQ(parse_hex_digits("BEEF", 4), 0xBEEF);
    EXPECT_EQ(parse_hex_digits("beef", 4), 0xBEEF);
    EXPECT_EQ(parse_hex_digits("0129", 4), 0x0129);
    EXPECT_EQ(parse_hex_digits("G", 1), ('G' + 9) % 16);
    EXPECT_EQ(parse_hex_digits("12345", 5), 0x2345);  // kept to 16 bits
    EXPECT_EQ(parse_hex_digits("\xff", 1), (0xFF + 9) % 16);
}

}  // namespace
