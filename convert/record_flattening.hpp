// Flattening of address/length records into one contiguous image.
#pragma once

#include <cstdint>

// Largest input and the bound the image stays below.
constexpr std::uint32_t IMAGE_LIMIT = 0x200000;

// buffer holds length input bytes (at most IMAGE_LIMIT) and has room for
// IMAGE_LIMIT bytes. When the input is a clean sequence of big-endian records
// (address, length, data) in ascending order whose image stays below
// IMAGE_LIMIT, the buffer is rewritten with the image (gaps filled with 0xFF,
// based at the first record's address) and its length is returned. Otherwise
// the buffer is left as it was and length is returned: the input is its own
// image.
// work_area (IMAGE_LIMIT bytes) is where the image is assembled, so that a
// rejected input stays untouched.
std::uint32_t flatten_records(unsigned char* buffer, std::uint32_t length, unsigned char* work_area);

// The same, leaving the input alone: on success the image is in image (room
// for IMAGE_LIMIT bytes) and true is returned with its length in
// image_length; false when the input is not a clean record sequence.
bool flatten_records_into(const unsigned char* input, std::uint32_t length, unsigned char* image,
                          std::uint32_t& image_length);
