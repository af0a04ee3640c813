#include "pixel_pack.hpp"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint32_t PIXEL_BYTES = 3;

std::uint64_t load_word(const unsigned char* p)
{
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Eight pixels (24 bytes) in a few word operations instead of eight tests.
// Read as three little-endian words, the blue bytes sit at byte places 0, 3
// and 6 of the first word, 1, 4 and 7 of the second, 2 and 5 of the third:
// never twice at one place, so masking and or-ing gathers all eight into one
// word, holding pixels 0, 3, 6, 1, 4, 7, 2, 5 in bytes 0 to 7.
unsigned char pack_eight(const unsigned char* p)
{
    std::uint64_t blue = (load_word(p) & 0x00FF0000FF0000FFu) | (load_word(p + 8) & 0xFF0000FF0000FF00u) |
                         (load_word(p + 16) & 0x0000FF0000FF0000u);
    // Bit 7 of every byte set when the byte is non-zero; adding 0x7F to the
    // low seven bits never carries into the next byte.
    std::uint64_t set = (((blue & 0x7F7F7F7F7F7F7F7Fu) + 0x7F7F7F7F7F7F7F7Fu) | blue) & 0x8080808080808080u;
    // One multiplication moves bit 0 of byte k to bit 56 + 7 - pixel(k), with
    // no other product term and no carry reaching bits 56 to 63 (checked for
    // all 256 patterns by the tests against the plain form).
    return static_cast<unsigned char>(((set >> 7) * 0x8010024008012004u) >> 56);
}

}  // namespace

void pack_blue_pixels_plain(const unsigned char* pixels, std::uint32_t count, unsigned char* out)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i % 8 == 0) {
            out[i / 8] = 0;
        }
        if (pixels[i * PIXEL_BYTES] != 0) {
            out[i / 8] = static_cast<unsigned char>(out[i / 8] | (0x80u >> (i % 8)));
        }
    }
}

void pack_blue_pixels(const unsigned char* pixels, std::uint32_t count, unsigned char* out)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (const unsigned char* end = out + count / 8; out != end; ++out, pixels += 8 * PIXEL_BYTES) {
            *out = pack_eight(pixels);
        }
        count %= 8;
    }
    pack_blue_pixels_plain(pixels, count, out);
}
