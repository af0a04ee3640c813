// Record flattening, CRC-16, the key stream and rotation, tested directly.
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "crc16.hpp"
#include "key_stream.hpp"
#include "record_flattening.hpp"
#include "test_support.hpp"
#include "upload_image.hpp"

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

// Flattens input in a full-size buffer; returns the image it leaves.
Bytes flatten(const Bytes& input)
{
    static std::vector<unsigned char> buffer(IMAGE_LIMIT);
    static std::vector<unsigned char> work(IMAGE_LIMIT);
    std::copy(input.begin(), input.end(), buffer.begin());
    std::uint32_t n = flatten_records(buffer.data(), static_cast<std::uint32_t>(input.size()), work.data());
    return Bytes(buffer.begin(), buffer.begin() + n);
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
        {"overlap", join({record(0x100, a), record(0x102, a)})},
        {"descending", join({record(0x100, a), record(0x50, a)})},
        {"length beyond the input", record(0x100, a, 5)},
        {"flat image", flat},
        {"tail of 1 byte", join({record(0x100, a), Bytes{7}})},
        {"tail of 7 bytes", join({record(0x100, a), Bytes(7, 0)})},
        {"gap reaching the limit", join({record(0, a), record(IMAGE_LIMIT, {})})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(flatten(c.input), c.input) << c.what;
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
    // ... one more byte reaches the limit and the input passes through.
    Bytes over = join({record(0, {1}), record(IMAGE_LIMIT - 2, {2, 3})});
    EXPECT_EQ(flatten(over), over);
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

TEST(Crc16, CheckValueContinuationAndEmpty)
{
    const std::string digits = "123456789";
    auto p = reinterpret_cast<const unsigned char*>(digits.data());
    EXPECT_EQ(crc16_update(0, p, 9), 0x31C3);
    EXPECT_EQ(crc16_update(crc16_update(0, p, 4), p + 4, 5), 0x31C3);
    EXPECT_EQ(crc16_update(0x1234, p, 0), 0x1234);
}

TEST(Crc16, TableEqualsTheByteUpdateForEveryRegisterAndByte)
{
    for (unsigned reg = 0; reg <= 0xFFFF; ++reg) {
        for (unsigned b = 0; b <= 0xFF; ++b) {
            auto byte = static_cast<unsigned char>(b);
            auto r = static_cast<std::uint16_t>(reg);
            if (crc16_update(r, &byte, 1) != crc16_update_byte(r, byte)) {
                FAIL() << "register " << reg << " byte " << b;
            }
        }
    }
}

TEST(Crc16, EightBytesAtOnceEqualTheByteUpdateOnRandomBuffers)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::string raw = random_bytes(seed * 3, seed);
        auto bytes = reinterpret_cast<const unsigned char*>(raw.data());
        auto start = static_cast<std::uint16_t>(seed * 2654435761u);
        std::uint16_t want = start;
        for (unsigned char b : raw) {
            want = crc16_update_byte(want, b);
        }
        ASSERT_EQ(crc16_update(start, bytes, static_cast<std::uint32_t>(raw.size())), want) << seed;
    }
}

TEST(Crc16, ByteUpdateEqualsTheBitwiseDefinition)
{
    for (unsigned reg = 0; reg <= 0xFFFF; reg += 7) {
        for (unsigned b = 0; b <= 0xFF; ++b) {
            unsigned bitwise = reg ^ (b << 8);
            for (int i = 0; i < 8; ++i) {
                bitwise = (bitwise & 0x8000) != 0 ? ((bitwise << 1) ^ 0x1021) & 0xFFFF : (bitwise << 1) & 0xFFFF;
            }
            ASSERT_EQ(crc16_update_byte(static_cast<std::uint16_t>(reg), static_cast<unsigned char>(b)), bitwise);
        }
    }
}

TEST(KeyStream, FirstByteUsesTheRegisterAfterTheFirstKey)
{
    unsigned char key = 0x5A;
    unsigned char image[1] = {0};
    encrypt_image(image, 1, &key, 1, 0x1D0F);
    EXPECT_EQ(image[0], crc16_update(0x1D0F, &key, 1) & 0xFF);
}

TEST(KeyStream, IsItsOwnInverseAndCyclesTheKeys)
{
    std::string raw = random_bytes(1000, 5);
    Bytes plain(raw.begin(), raw.end());
    const unsigned char keys[] = {1, 2, 3};
    Bytes enc = plain;
    encrypt_image(enc.data(), static_cast<std::uint32_t>(enc.size()), keys, 3, 0xBEEF);
    EXPECT_NE(enc, plain);
    // The stream by hand: register over keys 1, 2, 3, 1, 2, ...
    std::uint16_t reg = 0xBEEF;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        reg = crc16_update_byte(reg, keys[i % 3]);
        ASSERT_EQ(enc[i], plain[i] ^ (reg & 0xFF)) << i;
    }
    encrypt_image(enc.data(), static_cast<std::uint32_t>(enc.size()), keys, 3, 0xBEEF);
    EXPECT_EQ(enc, plain);
    // More keys than image bytes: only the first ones are used.
    const unsigned char many[] = {1, 2, 3, 4, 5, 6};
    Bytes a = {9, 9, 9};
    Bytes b = {9, 9, 9};
    encrypt_image(a.data(), 3, many, 6, 7);
    encrypt_image(b.data(), 3, keys, 3, 7);
    EXPECT_EQ(a, b);
}

TEST(Rotation, LastBytesFirst)
{
    const Bytes image = {1, 2, 3, 4, 5};
    for (std::uint32_t r : {0u, 1u, 2u, 5u}) {
        Bytes out(5);
        rotate_image(image.data(), 5, r, out.data());
        Bytes want(image.end() - r, image.end());
        want.insert(want.end(), image.begin(), image.end() - r);
        EXPECT_EQ(out, want) << r;
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
