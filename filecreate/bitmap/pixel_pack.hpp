// 24-bit pixels to GLCD bits: a pixel is set when its first (blue) byte is
// non-zero; green and red are not looked at.
#pragma once

#include <cstdint>

// Packs count pixels of 3 bytes into (count + 7) / 8 bytes, the first pixel
// in bit 7; a last byte of fewer pixels has its low bits 0.
void pack_blue_pixels(const unsigned char* pixels, std::uint32_t count, unsigned char* out);

// The same, one pixel at a time: the reference the fast form is tested against.
void pack_blue_pixels_plain(const unsigned char* pixels, std::uint32_t count, unsigned char* out);
