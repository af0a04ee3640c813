// The key stream that encrypts an upload image, and the rotation that may
// follow it.
//
// The stream is a CRC-16 register (crc16.hpp) that starts at the seed and is
// advanced over one key byte before each image byte: the key bytes are fed in
// their order and, after the last, again from the first. The register's low
// byte is then XORed into the image byte. The stream depends only on the key
// bytes and the seed, so applying it again decrypts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::size_t KEY_BYTES_MAX = 100;  // key bytes one argument can give

// What the 16 key bytes from one key position add to the register, worked
// out once per position so that 16 stream bytes cost one dependent step.
struct KeyAhead {
    std::array<std::uint64_t, 2> stream{};  // low bytes of the register after 1 to 16 of them, from 0, in image order
    std::uint16_t reg = 0;                  // the register after all 16, from 0
    std::uint8_t next = 0;                  // the key position 16 bytes on
};

struct KeyStream {
    std::array<unsigned char, KEY_BYTES_MAX> keys{};
    std::uint32_t key_count = 0;
    std::uint32_t position = 0;  // the key byte fed next
    std::uint16_t reg = 0;
    std::array<KeyAhead, KEY_BYTES_MAX> ahead{};
};

// Starts the stream at seed over keys (bytes beyond KEY_BYTES_MAX are not used).
void key_stream_start(KeyStream& ks, std::span<const unsigned char> keys, std::uint16_t seed);

// dst[i] = src[i] XOR the next stream byte, for count bytes, going on where
// the previous call stopped; dst may be src. Without key bytes the register
// has nothing to be fed with, and nothing is written.
void key_stream_apply(KeyStream& ks, const unsigned char* src, unsigned char* dst, std::size_t count);

// The same a byte at a time, as described above: the form the fast one is
// proven equal to, and the one that does the last few bytes.
void key_stream_apply_bytewise(KeyStream& ks, const unsigned char* src, unsigned char* dst, std::size_t count);

// A rotated image is its last `rotation` bytes followed by the rest. These are
// the two parts in the order they are written; rotating a written image again
// by size - rotation gives the parts of the image before rotation. A rotation
// beyond the size is taken as the size.
struct RotatedImage {
    std::span<const unsigned char> first;
    std::span<const unsigned char> second;
};
RotatedImage rotated_parts(std::span<const unsigned char> image, std::size_t rotation);
