// The CRC-16, the key stream, the rotation and the upload header: every fast
// form against the definition it stands for.
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "formats/crc16.hpp"
#include "formats/key_stream.hpp"
#include "tests/common/test_support.hpp"
#include "formats/upload_header.hpp"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes random_buffer(std::size_t count, unsigned seed)
{
    std::string raw = random_bytes(count, seed);
    return Bytes(raw.begin(), raw.end());
}

// The key stream as described, a key byte and a bit at a time.
Bytes encrypt_by_definition(Bytes image, const Bytes& keys, std::uint16_t seed)
{
    std::uint16_t reg = seed;
    for (std::size_t i = 0; i < image.size(); ++i) {
        reg = crc16_bitwise(reg, keys[i % keys.size()]);
        image[i] ^= static_cast<unsigned char>(reg);
    }
    return image;
}

TEST(Crc16, CheckValueContinuationAndEmpty)
{
    const std::string digits = "123456789";
    auto p = reinterpret_cast<const unsigned char*>(digits.data());
    std::uint16_t bitwise = 0;
    for (unsigned char c : digits) {
        bitwise = crc16_bitwise(bitwise, c);
    }
    EXPECT_EQ(bitwise, 0x31C3);
    EXPECT_EQ(crc16_update(0, p, 9), 0x31C3);
    EXPECT_EQ(crc16_update(crc16_update(0, p, 4), p + 4, 5), 0x31C3);
    EXPECT_EQ(crc16_update(0x1234, p, 0), 0x1234);
}

TEST(Crc16, TableStepEqualsTheBitwiseDefinitionForEveryRegisterAndByte)
{
    for (unsigned reg = 0; reg <= 0xFFFF; ++reg) {
        for (unsigned b = 0; b <= 0xFF; ++b) {
            auto r = static_cast<std::uint16_t>(reg);
            auto byte = static_cast<unsigned char>(b);
            if (crc16_step(r, byte) != crc16_bitwise(r, byte)) {
                FAIL() << "register " << reg << " byte " << b;
            }
        }
    }
}

TEST(Crc16, SixteenBytesAtOnceEqualTheTableStepOnRandomBuffers)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const Bytes bytes = random_buffer(seed * 3, seed);
        auto start = static_cast<std::uint16_t>(seed * 2654435761u);
        std::uint16_t want = start;
        for (unsigned char b : bytes) {
            want = crc16_step(want, b);
        }
        ASSERT_EQ(crc16_update(start, bytes.data(), static_cast<std::uint32_t>(bytes.size())), want) << seed;
    }
}

TEST(Crc16, MultiplyingFormEqualsTheTablesForEveryLengthAndAlignment)
{
    if (!crc16_clmul_available()) {
        GTEST_SKIP() << "no carry-less multiplication on this processor";
    }
    const Bytes bytes = random_buffer(4096 + 16, 7);
    for (std::uint32_t count : {0u, 1u, 15u, 16u, 63u, 64u, 65u, 79u, 80u, 127u, 128u, 129u, 191u, 255u, 256u, 257u,
                                1000u, 4095u, 4096u}) {
        for (std::uint32_t offset = 0; offset < 16; ++offset) {
            auto start = static_cast<std::uint16_t>((count * 40503u) ^ (offset * 2654435761u));
            const unsigned char* p = bytes.data() + offset;
            ASSERT_EQ(crc16_update_clmul(start, p, count), crc16_update_tables(start, p, count))
                << count << " bytes at " << offset;
        }
    }
    // A register with every single bit set, over a run of zeros and of ones.
    for (Bytes same : {Bytes(300, 0x00), Bytes(300, 0xFF)}) {
        for (unsigned bit = 0; bit < 16; ++bit) {
            auto start = static_cast<std::uint16_t>(1u << bit);
            ASSERT_EQ(crc16_update_clmul(start, same.data(), 300), crc16_update_tables(start, same.data(), 300)) << bit;
        }
    }
}

TEST(KeyStream, SixteenBytesAtOnceEqualTheOneStepFormForEveryRegister)
{
    const Bytes plain = random_buffer(40, 3);  // two blocks and a tail
    for (std::size_t key_count : {1u, 3u, 17u, 100u}) {
        const Bytes keys = random_buffer(key_count, static_cast<unsigned>(key_count));
        KeyStream started;
        key_stream_start(started, keys, 0);
        Bytes a(plain.size());
        Bytes b(plain.size());
        for (unsigned reg = 0; reg <= 0xFFFF; ++reg) {
            KeyStream fast = started;
            fast.reg = static_cast<std::uint16_t>(reg);
            KeyStream slow = fast;
            key_stream_apply(fast, plain.data(), a.data(), a.size());
            key_stream_apply_bytewise(slow, plain.data(), b.data(), b.size());
            if (a != b || fast.reg != slow.reg || fast.position != slow.position) {
                FAIL() << "register " << reg << " with " << key_count << " key bytes";
            }
        }
    }
}

TEST(KeyStream, IsTheDefinitionInAnySplitAndItsOwnInverse)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const Bytes plain = random_buffer(seed * 97, seed);
        const Bytes keys = random_buffer(1 + seed % 9, seed + 100);
        const auto start = static_cast<std::uint16_t>(seed * 40503u);
        Bytes enc(plain.size());
        KeyStream ks;
        key_stream_start(ks, keys, start);
        for (std::size_t pos = 0, part = seed; pos < plain.size(); pos += part, part = part * 3 % 61 + 1) {
            std::size_t n = std::min(part, plain.size() - pos);
            key_stream_apply(ks, plain.data() + pos, enc.data() + pos, n);
        }
        ASSERT_EQ(enc, encrypt_by_definition(plain, keys, start)) << seed;
        key_stream_start(ks, keys, start);
        key_stream_apply(ks, enc.data(), enc.data(), enc.size());
        ASSERT_EQ(enc, plain) << seed;
    }
    // The first byte gets the register after the first key byte, not the seed:
    // 0x1D0F run over 0x5A is 0x3723 (worked bit by bit).
    KeyStream ks;
    const Bytes key = {0x5A};
    key_stream_start(ks, key, 0x1D0F);
    unsigned char byte = 0;
    key_stream_apply(ks, &byte, &byte, 1);
    EXPECT_EQ(byte, 0x23);
}

TEST(Rotation, LastBytesFirst)
{
    const Bytes image = {1, 2, 3, 4, 5};
    for (std::size_t r : {0u, 1u, 2u, 5u}) {
        RotatedImage parts = rotated_parts(image, r);
        Bytes out(parts.first.begin(), parts.first.end());
        out.insert(out.end(), parts.second.begin(), parts.second.end());
        Bytes want(image.end() - static_cast<long>(r), image.end());
        want.insert(want.end(), image.begin(), image.end() - static_cast<long>(r));
        EXPECT_EQ(out, want) << r;
        // Rotating the written image by the rest gives the image back.
        RotatedImage back = rotated_parts(out, image.size() - r);
        Bytes again(back.first.begin(), back.first.end());
        again.insert(again.end(), back.second.begin(), back.second.end());
        EXPECT_EQ(again, image) << r;
    }
}

TEST(UploadHeader, PackedBytesAndBack)
{
    struct Case {
        UploadHeader header;
        Bytes bytes;
    };
    const Case cases[] = {
        {{3, 0xBEEF, 0x1234, false, 0}, {0, 0, 0, 3, 0xBE, 0xEF, 0x12, 0x34}},
        {{2, 0xA55A, 0xFFFE, true, 0x0102}, {0, 0, 0, 2, 0xA5, 0x5A, 0xFF, 0xFE, 0x01, 0x02}},
    };
    for (const auto& c : cases) {
        Bytes packed(10, 0xEE);
        packed.resize(pack_upload_header(c.header, packed.data()));
        EXPECT_EQ(packed, c.bytes);
        Bytes file = c.bytes;
        file.insert(file.end(), c.header.image_length, 0x77);
        UploadHeader back;
        ASSERT_TRUE(unpack_upload_header(file, back));
        EXPECT_EQ(back.image_length, c.header.image_length);
        EXPECT_EQ(back.magic, c.header.magic);
        EXPECT_EQ(back.image_crc, c.header.image_crc);
        EXPECT_EQ(back.keyed, c.header.keyed);
        EXPECT_EQ(back.plain_crc, c.header.plain_crc);
        file.push_back(0);  // a length that fits neither form
        EXPECT_FALSE(unpack_upload_header(file, back));
    }
    UploadHeader none;
    EXPECT_FALSE(unpack_upload_header(Bytes(7, 0), none));
}

}  // namespace
