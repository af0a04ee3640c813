// The fast inner pieces of the GLCD writer against plain forms: 24-bit pixel
// packing and the value text tables.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "pixel_pack.hpp"
#include "test_support.hpp"
#include "value_text.hpp"

namespace {

// The word-wise packing of 24-bit pixels against the plain form: every
// pattern of eight pixels, blue values near the bit boundaries, green and red
// never looked at, and every tail length.
TEST(GlcdArray, PackedPixelsMatchThePlainForm)
{
    const unsigned char blues[] = {0x01, 0x7F, 0x80, 0xFF};
    std::string noise = random_bytes(3 * 43, 21);
    for (unsigned pattern = 0; pattern < 256; ++pattern) {
        for (unsigned count = 0; count <= 43; count += pattern % 4 == 0 ? 1 : 43) {
            std::vector<unsigned char> pixels(noise.begin(), noise.end());
            for (unsigned i = 0; i < count; ++i) {
                bool set = ((pattern >> (i % 8)) & 1) != 0;
                pixels[3 * i] = set ? blues[(i + pattern) % 4] : 0;
            }
            unsigned char fast[8] = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
            unsigned char plain[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
            pack_blue_pixels(pixels.data(), count, fast);
            pack_blue_pixels_plain(pixels.data(), count, plain);
            unsigned bytes = (count + 7) / 8;
            ASSERT_EQ(std::vector<unsigned char>(fast, fast + bytes), std::vector<unsigned char>(plain, plain + bytes))
                << "pattern " << pattern << ", " << count << " pixels";
            EXPECT_EQ(fast[bytes], 0x55) << "nothing written past the last byte";
        }
    }
}

// Both value text tables and hex_byte_upper against printf.
TEST(GlcdArray, ValueTextsMatchPrintf)
{
    for (unsigned value = 0; value < 256; ++value) {
        char got[3] = {};
        char want[8] = {};
        hex_byte_upper(got, static_cast<unsigned char>(value));
        std::snprintf(want, sizeof want, "%02X", value);
        EXPECT_STREQ(got, want);
        std::snprintf(want, sizeof want, "0x%02X,", value);
        EXPECT_EQ(std::string(VALUE_TEXTS_UPPER[value].data(), VALUE_TEXT_SIZE), want);
        std::snprintf(want, sizeof want, "0x%02x,", value);
        EXPECT_EQ(std::string(VALUE_TEXTS_LOWER[value].data(), VALUE_TEXT_SIZE), want);
    }
}

}  // namespace
