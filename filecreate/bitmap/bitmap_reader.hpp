// Converting one Windows bitmap (uncompressed, 1 or 24 bits per pixel) into a
// GLCD array: the driver of the two bitmap modes, from opening the input to
// closing the output.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "io/chunk_reader.hpp"
#include "io/out_file.hpp"

// The comment block at the head of a -fb output: part one, the output path,
// part two.
extern const std::string_view BITMAP_BANNER_PART_ONE;
extern const std::string_view BITMAP_BANNER_PART_TWO;

// What one conversion borrows from the run record.
struct BitmapWork {
    ChunkReader& in;                        // reads the bitmap's bytes
    OutFile& own_output;                    // the output of -bm, created and closed by convert_bitmap
    std::span<unsigned char> reversal;      // reversed rows are collected here (the 1 MiB input buffer)
    std::string_view array_name;            // "" writes "array"
    unsigned array_name_overflow_line = 0;  // non-zero: the control file's name did not fit; refused
    bool palette_not_examined = false;      // set: a 1-bit bitmap's palette was skipped (for a warning)
};

// Converts one bitmap. With input_path the file is opened here and the array
// is named "array"; otherwise input_fd, positioned at the start of the bitmap,
// is read. The input is closed in every case.
// With OPT_SHARED_OUTPUT in flags the array goes to shared_output (after the
// banner when OPT_WRITE_BANNER is set), which stays open; without it
// output_path is created here into work.own_output and closed again.
// Returns 0, or an exit code (5 to 10) after printing its message; on a
// refusal nothing is written.
int convert_bitmap(BitmapWork& work, const char* input_path, const char* output_path, std::uint32_t flags,
                   int input_fd, OutFile* shared_output);
