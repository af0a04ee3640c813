// Reading and checking one Windows bitmap (uncompressed, 1 or 24 bits per
// pixel) and converting it into a GLCD array.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "chunk_reader.hpp"
#include "out_file.hpp"

// The comment block at the head of a -fb output: part one, the output path,
// part two.
extern const std::string_view BITMAP_BANNER_PART_ONE;
extern const std::string_view BITMAP_BANNER_PART_TWO;

struct BitmapWork {                       // what one conversion borrows from the run record
    ChunkReader& in;                      // reads the bitmap's bytes
    OutFile& own_output;                  // the output of -bm, created and closed by convert_bitmap
    std::span<unsigned char> reversal;    // reversed rows are collected here (the 1 MiB input buffer)
    std::string_view array_name;          // "" writes "array"
    unsigned array_name_overflow_line = 0;  // non-zero: refuse as today (control-file modes)
    bool palette_not_examined = false;    // set: a 1-bit bitmap's palette was skipped (for a warning)
};

// Converts one bitmap. With input_path the file is opened here; otherwise input_fd, positioned at the start of the
// bitmap, is used and closed. With input_path and output_path the output file
// is created here and closed again; otherwise shared_output receives the array
// (after the banner when OPT_WRITE_BANNER is set) and stays open.
// Returns 0, or an exit code (5 to 10) after printing its message; on a
// refusal nothing is written.
int convert_bitmap(BitmapWork& work, const char* input_path, const char* output_path,
                   std::uint32_t flags, int input_fd, OutFile* shared_output);
