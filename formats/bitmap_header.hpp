// The two headers at the start of a Windows bitmap file, as far as the GLCD
// converter reads them: a 14-byte file header and a 40-byte information
// header, both little-endian, then the palette up to the pixel data. Only the
// uncompressed 1- and 24-bit kinds are accepted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace bitmap_file_header {
constexpr std::size_t SIZE = 14;
constexpr std::size_t SIGNATURE = 0;    // 'B', 'M'
constexpr std::size_t FILE_SIZE = 2;    // 4 bytes; counts only when the image size field is 0
constexpr std::size_t DATA_OFFSET = 10; // first pixel byte; only the low 2 bytes of the field are read
}  // namespace bitmap_file_header

// Read whole at 40 bytes, whatever size its own first field states: a longer
// header's rest is passed over with the palette.
namespace bitmap_info_header {
constexpr std::size_t SIZE = 40;
constexpr std::size_t WIDTH = 4;           // 4 bytes; the converter uses the low 16 bits
constexpr std::size_t HEIGHT = 8;          // 4 bytes; the converter uses the low 16 bits
constexpr std::size_t BITS_PER_PIXEL = 14; // 1 byte read: 1 or 24
constexpr std::size_t COMPRESSION = 16;    // 1 byte tested: 0
constexpr std::size_t IMAGE_SIZE = 20;     // 4 bytes of pixel data, row padding included; 0: see below
}  // namespace bitmap_info_header

using BitmapFileHeader = std::array<unsigned char, bitmap_file_header::SIZE>;
using BitmapInfoHeader = std::array<unsigned char, bitmap_info_header::SIZE>;

// File position right after the two headers, where a palette starts.
constexpr std::uint32_t BITMAP_HEADERS_END = bitmap_file_header::SIZE + bitmap_info_header::SIZE;

// Bytes between the headers and the pixel data that make a two-entry palette
// (entries of blue, green, red, reserved); only then is the polarity checked.
constexpr std::size_t TWO_ENTRY_PALETTE_SIZE = 8;

// Outcome of the header checks, in the order they are made: signature,
// compression, then bit depth and size.
enum class BitmapCheck { ok, not_bitmap, compressed, unsupported_format };

BitmapCheck check_file_header(const BitmapFileHeader& file);
BitmapCheck check_info_header(const BitmapInfoHeader& info);

std::uint16_t bitmap_width(const BitmapInfoHeader& info);
std::uint16_t bitmap_height(const BitmapInfoHeader& info);
unsigned bitmap_bits_per_pixel(const BitmapInfoHeader& info);

// The 16-bit data offset of the file header.
std::uint32_t bitmap_data_offset(const BitmapFileHeader& file);

// Bytes between the end of the headers and the pixel data (the rest of a
// longer information header and the palette); 0 for an offset of 54 or less,
// where the pixel data is taken to follow the headers.
std::uint32_t bitmap_gap_size(const BitmapFileHeader& file);

// Pixel-data bytes: the image size field, or when it is 0 the file size field
// less the data offset (modulo 2^32, as the field is unsigned).
std::uint32_t bitmap_image_size(const BitmapFileHeader& file, const BitmapInfoHeader& info);

// Palette polarity: with exactly two entries between the headers and the data,
// a non-zero red in entry 0 means entry 0 is the light colour, and the output
// is inverted so that set bits still stand for light pixels. gap holds the
// bytes read between the headers and the data.
bool palette_inverts(std::span<const unsigned char> gap);
