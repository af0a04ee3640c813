// 24-bit pixels to GLCD bits: a pixel is set when its first (blue) byte is
// non-zero; green and red are not looked at.
#pragma once

#include <cstdint>

// Packs count pixels of 3 bytes into (count + 7) / 8 bytes, the first pixel
// in bit 7; a last byte of fewer pixels has its low bits 0. Uses the widest
// form the build has: 16 pixels at a time in vector registers where the
// processor has them (SSE2, which every x86-64 processor has), then 8 at a
// time in 64-bit words, then one at a time.
void pack_blue_pixels(const unsigned char* pixels, std::uint32_t count, unsigned char* out);

// Only the word form and the plain one: tested on its own, as processors
// with vector registers never take it for more than one group.
void pack_blue_pixels_words(const unsigned char* pixels, std::uint32_t count, unsigned char* out);

// One pixel at a time: the reference the other forms are tested against.
void pack_blue_pixels_plain(const unsigned char* pixels, std::uint32_t count, unsigned char* out);
