// Writes the pixel data of one checked bitmap as a C array of monochrome bytes
// for a graphic LCD: a size preamble, then eight pixels per byte, leftmost
// pixel in bit 7, every row padded to whole bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "chunk_reader.hpp"
#include "out_file.hpp"

constexpr std::size_t INFO_HEADER_SIZE = 40;
using InfoHeader = std::array<unsigned char, INFO_HEADER_SIZE>;

// Fields of the information header that the writer reads. Only the low 16 bits
// of width and height count; the reader refuses files whose upper bits are set.
std::uint16_t info_width(const InfoHeader& info);
std::uint16_t info_height(const InfoHeader& info);
unsigned info_bits_per_pixel(const InfoHeader& info);

// Two upper-case hexadecimal digits of byte, high nibble first.
void hex_byte_upper(char* dest, unsigned char byte);

// How much of the pixel data the array takes: the pixel loop stops at the
// image size or after the last row, whichever comes first.
struct PixelPlan {
    std::uint64_t file_bytes = 0;   // pixel-data bytes that must be in the file (no trailing row padding)
    std::uint64_t values = 0;       // pixel values the array will hold
};
PixelPlan plan_pixels(std::uint32_t image_size, const InfoHeader& info);

// Bytes per output row times rows: what reversed output keeps in memory.
std::uint64_t glcd_array_bytes(const InfoHeader& info);

// Writes the whole array to out: header line (named array_name, or "array"
// when it is empty), preamble, pixel values, closing. in must be positioned
// at the first pixel byte and hold plan_pixels(...).file_bytes more bytes;
// with OPT_REVERSE_ROWS the array must fit reversal.
// Returns false when the pixel data could not be read after all.
bool write_glcd_array(ChunkReader& in, OutFile& out, std::uint32_t image_size, const InfoHeader& info,
                      std::uint32_t flags, std::string_view array_name, std::span<unsigned char> reversal);
