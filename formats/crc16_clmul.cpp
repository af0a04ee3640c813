// The CRC-16 by carry-less multiplication. The register is the remainder of
// the message, read as a polynomial over GF(2) with the first bit highest,
// times x^16, divided by the polynomial. Sixteen bytes are one 128-bit
// polynomial; a block that is followed by 512 more bits is moved forward by
// multiplying its two 64-bit halves with x^576 and x^512 reduced modulo the
// polynomial, which keeps the congruence and the width. Four blocks are in
// flight at once, so the multiplier's latency is hidden. What is left at the
// end is a 128-bit value congruent to the whole message; its register is what
// the tables give for its 16 bytes from 0, and any bytes after the last whole
// block go through the tables too.
#include "formats/crc16.hpp"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define KORVANE_CRC16_CLMUL 1
#include <immintrin.h>
#if __has_include(<sys/platform/x86.h>)
// The C library's own record of the processor. The header is written for C,
// and clang, unlike GCC, does not take its _Bool in C++.
#ifdef __clang__
#define _Bool bool
#include <sys/platform/x86.h>
#undef _Bool
#else
#include <sys/platform/x86.h>
#endif
#else
#include <cpuid.h>
#endif
#endif

#ifdef KORVANE_CRC16_CLMUL

namespace {

// x^power modulo the polynomial, as the 16 low coefficients.
constexpr std::uint64_t x_power_mod(unsigned power)
{
    unsigned r = 1;
    for (unsigned i = 0; i < power; ++i) {
        r = (r & 0x8000) != 0 ? ((r << 1) ^ CRC16_POLYNOMIAL) & 0xFFFF : (r << 1) & 0xFFFF;
    }
    return r;
}

#define KORVANE_CLMUL_TARGET __attribute__((target("pclmul,ssse3")))

// Message bytes and polynomials are in opposite orders: the first byte is
// the highest part of the polynomial.
KORVANE_CLMUL_TARGET inline __m128i reverse_bytes(__m128i block)
{
    return _mm_shuffle_epi8(block, _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
}

KORVANE_CLMUL_TARGET inline __m128i load_block(const unsigned char* bytes)
{
    return reverse_bytes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// block times x^distance, reduced to 80 bits: the high half times the
// constant in the high half of by, the low half times the low one.
KORVANE_CLMUL_TARGET inline __m128i fold(__m128i block, __m128i by)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(block, by, 0x11), _mm_clmulepi64_si128(block, by, 0x00));
}

}  // namespace

bool crc16_clmul_available()
{
#if __has_include(<sys/platform/x86.h>)
    // The C library has asked the processor at start-up already; asking again
    // costs tens of microseconds under a hypervisor.
    return CPU_FEATURE_ACTIVE(PCLMULQDQ) && CPU_FEATURE_ACTIVE(SSSE3);
#else
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return false;
    }
    return (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSSE3) != 0;
#endif
}

KORVANE_CLMUL_TARGET std::uint16_t crc16_update_clmul(std::uint16_t crc, const unsigned char* bytes,
                                                      std::uint32_t count)
{
    if (count < 64) {
        return crc16_update_tables(crc, bytes, count);
    }
    const __m128i by_512 = _mm_set_epi64x(static_cast<long long>(x_power_mod(576)),
                                          static_cast<long long>(x_power_mod(512)));
    const __m128i by_128 = _mm_set_epi64x(static_cast<long long>(x_power_mod(192)),
                                          static_cast<long long>(x_power_mod(128)));
    // A register to continue from is the same as its two bytes added to the
    // first two message bytes with a register of 0.
    __m128i a0 = _mm_xor_si128(load_block(bytes), _mm_set_epi64x(static_cast<long long>(crc) << 48, 0));
    __m128i a1 = load_block(bytes + 16);
    __m128i a2 = load_block(bytes + 32);
    __m128i a3 = load_block(bytes + 48);
    std::uint32_t i = 64;
    for (; count - i >= 64; i += 64) {
        a0 = _mm_xor_si128(fold(a0, by_512), load_block(bytes + i));
        a1 = _mm_xor_si128(fold(a1, by_512), load_block(bytes + i + 16));
        a2 = _mm_xor_si128(fold(a2, by_512), load_block(bytes + i + 32));
        a3 = _mm_xor_si128(fold(a3, by_512), load_block(bytes + i + 48));
    }
    __m128i a = _mm_xor_si128(fold(a0, by_128), a1);
    a = _mm_xor_si128(fold(a, by_128), a2);
    a = _mm_xor_si128(fold(a, by_128), a3);
    for (; count - i >= 16; i += 16) {
        a = _mm_xor_si128(fold(a, by_128), load_block(bytes + i));
    }
    unsigned char folded[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), reverse_bytes(a));
    std::uint16_t c = crc16_update_tables(0, folded, sizeof folded);
    return crc16_update_tables(c, bytes + i, count - i);
}

#else

bool crc16_clmul_available()
{
    return false;
}

std::uint16_t crc16_update_clmul(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count)
{
    return crc16_update_tables(crc, bytes, count);
}

#endif
