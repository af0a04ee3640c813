// Writes the pixel data of one checked bitmap as a GLCD array (the format is
// described in glcd_array.hpp).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "formats/bitmap_header.hpp"
#include "io/chunk_reader.hpp"
#include "io/out_file.hpp"

// How much of the pixel data the array takes: the pixel loop stops at the
// image size or after the last row, whichever comes first.
struct PixelPlan {
    std::uint64_t file_bytes = 0;   // pixel-data bytes that must be in the file (no trailing row padding)
    std::uint64_t values = 0;       // pixel values the array will hold
};
PixelPlan plan_pixels(std::uint32_t image_size, const BitmapInfoHeader& info);

// Writes the whole array to out: header line (named array_name, or "array"
// when it is empty), preamble, pixel values, closing. in must be positioned at
// the first pixel byte and hold plan_pixels(...).file_bytes more bytes; with
// OPT_REVERSE_ROWS the array's pixel bytes must fit reversal.
// Returns false when the pixel data could not be read after all.
bool write_glcd_array(ChunkReader& in, OutFile& out, std::uint32_t image_size, const BitmapInfoHeader& info,
                      std::uint32_t flags, std::string_view array_name, std::span<unsigned char> reversal);
