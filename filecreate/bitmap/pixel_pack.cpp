#include "filecreate/bitmap/pixel_pack.hpp"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KORVANE_PACK_VECTOR 1
#endif

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

const unsigned char* pack_words(const unsigned char* pixels, std::uint32_t& count, unsigned char*& out)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (; count >= 8; count -= 8, pixels += 8 * PIXEL_BYTES) {
            *out++ = pack_eight(pixels);
        }
    }
    return pixels;
}

#ifdef KORVANE_PACK_VECTOR
// Sixteen pixels (48 bytes, three registers) the same way: the blue bytes lie
// at places 0, 3, 6, 9, 12, 15 of the first register, 2, 5, 8, 11, 14 of the
// second and 1, 4, 7, 10, 13 of the third, together every place once. One
// comparison and one mask extraction then give a bit per pixel, in the order
// below; two table look-ups put them in pixel order.
constexpr std::array<unsigned, 16> PIXEL_AT_PLACE = {0, 11, 6, 1, 12, 7, 2, 13, 8, 3, 14, 9, 4, 15, 10, 5};

// Output word for the places of one half of the mask: pixel p in bit 15 - p.
constexpr std::array<std::uint16_t, 256> place_table(unsigned half)
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        for (unsigned place = 0; place < 8; ++place) {
            if ((bits >> place) & 1) {
                table[bits] = static_cast<std::uint16_t>(table[bits] | 0x8000u >> PIXEL_AT_PLACE[half * 8 + place]);
            }
        }
    }
    return table;
}
constexpr std::array<std::uint16_t, 256> LOW_PLACES = place_table(0);
constexpr std::array<std::uint16_t, 256> HIGH_PLACES = place_table(1);

// 0xFF at every third place from first: where one register holds blue bytes.
constexpr std::array<unsigned char, 16> blue_places(unsigned first)
{
    std::array<unsigned char, 16> mask{};
    for (unsigned place = first; place < 16; place += 3) {
        mask[place] = 0xFF;
    }
    return mask;
}
alignas(16) constexpr std::array<unsigned char, 16> FIRST_PLACES = blue_places(0);
alignas(16) constexpr std::array<unsigned char, 16> SECOND_PLACES = blue_places(2);
alignas(16) constexpr std::array<unsigned char, 16> THIRD_PLACES = blue_places(1);

__m128i load_places(const std::array<unsigned char, 16>& places)
{
    return _mm_load_si128(reinterpret_cast<const __m128i*>(places.data()));
}

const unsigned char* pack_vectors(const unsigned char* pixels, std::uint32_t& count, unsigned char*& out)
{
    const __m128i first = load_places(FIRST_PLACES);
    const __m128i second = load_places(SECOND_PLACES);
    const __m128i third = load_places(THIRD_PLACES);
    const __m128i zero = _mm_setzero_si128();
    for (; count >= 16; count -= 16, pixels += 16 * PIXEL_BYTES, out += 2) {
        auto p = reinterpret_cast<const __m128i*>(pixels);
        __m128i blue = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_loadu_si128(p), first),
                                                 _mm_and_si128(_mm_loadu_si128(p + 1), second)),
                                    _mm_and_si128(_mm_loadu_si128(p + 2), third));
        auto dark = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(blue, zero)));
        unsigned set = ~(LOW_PLACES[dark & 0xFF] | HIGH_PLACES[dark >> 8]);
        out[0] = static_cast<unsigned char>(set >> 8);
        out[1] = static_cast<unsigned char>(set);
    }
    return pixels;
}
#endif

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

void pack_blue_pixels_words(const unsigned char* pixels, std::uint32_t count, unsigned char* out)
{
    pixels = pack_words(pixels, count, out);
    pack_blue_pixels_plain(pixels, count, out);
}

void pack_blue_pixels(const unsigned char* pixels, std::uint32_t count, unsigned char* out)
{
#ifdef KORVANE_PACK_VECTOR
    pixels = pack_vectors(pixels, count, out);
#endif
    pack_blue_pixels_words(pixels, count, out);
}
