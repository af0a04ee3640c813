// The fast inner piece of the GLCD writer against its plain form: 24-bit
// pixel packing.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "filecreate/bitmap/pixel_pack.hpp"
#include "tests/common/test_support.hpp"

namespace {

// Pixels whose blue bytes follow pattern (bit i for pixel i mod 16), with
// blue values near the bit boundaries and green and red that must not count.
std::vector<unsigned char> pixels_of(unsigned pattern, unsigned count, const std::string& noise)
{
    const unsigned char blues[] = {0x01, 0x7F, 0x80, 0xFF};
    std::vector<unsigned char> pixels(noise.begin(), noise.begin() + 3 * count);
    for (unsigned i = 0; i < count; ++i) {
        pixels[3 * i] = ((pattern >> (i % 16)) & 1) != 0 ? blues[(i + pattern) % 4] : 0;
    }
    return pixels;
}

using Pack = void (*)(const unsigned char*, std::uint32_t, unsigned char*);

// The bytes that pack writes for the pixels; one byte past them must stay.
std::vector<unsigned char> packed(Pack pack, const std::vector<unsigned char>& pixels)
{
    auto count = static_cast<std::uint32_t>(pixels.size() / 3);
    std::vector<unsigned char> out((count + 7) / 8 + 1, 0x5A);
    pack(pixels.data(), count, out.data());
    EXPECT_EQ(out.back(), 0x5A) << "nothing written past the last byte";
    out.pop_back();
    return out;
}

// The wide forms of 24-bit packing against the plain form: every pattern of
// sixteen (vector form) and eight (word form) pixels, and every tail length.
TEST(GlcdArray, PackedPixelsMatchThePlainForm)
{
    std::string noise = random_bytes(3 * 64, 21);
    for (unsigned pattern = 0; pattern < 0x10000; ++pattern) {
        std::vector<unsigned char> pixels = pixels_of(pattern, 16, noise);
        ASSERT_EQ(packed(pack_blue_pixels, pixels), packed(pack_blue_pixels_plain, pixels)) << pattern;
    }
    for (unsigned pattern = 0; pattern < 256; ++pattern) {
        for (unsigned count = 0; count <= 64; count += pattern % 8 == 0 ? 1 : 61) {
            SCOPED_TRACE("pattern " + std::to_string(pattern) + ", " + std::to_string(count) + " pixels");
            std::vector<unsigned char> pixels = pixels_of(pattern * 0x101, count, noise);
            std::vector<unsigned char> plain = packed(pack_blue_pixels_plain, pixels);
            ASSERT_EQ(packed(pack_blue_pixels_words, pixels), plain);
            ASSERT_EQ(packed(pack_blue_pixels, pixels), plain);
        }
    }
}

}  // namespace
