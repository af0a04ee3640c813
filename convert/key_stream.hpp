// Key-stream encryption and rotation of the upload image.
#pragma once

#include <cstdint>

// XORs every image byte with the low byte of a CRC register that starts at
// seed and is advanced over one key byte (cycling through the keys) before
// each image byte. Applying it twice restores the image. key_count must not
// be 0 unless count is 0.
void encrypt_image(unsigned char* image, std::uint32_t count, const unsigned char* keys,
                   std::uint32_t key_count, std::uint16_t seed);

// Writes the last rotation bytes of image followed by the rest to
// destination; rotation must not exceed count.
void rotate_image(const unsigned char* image, std::uint32_t count, std::uint32_t rotation,
                  unsigned char* destination);
