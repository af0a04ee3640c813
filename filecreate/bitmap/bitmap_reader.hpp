// Reading and checking one Windows bitmap (uncompressed, 1 or 24 bits per
// pixel) and converting it into a GLCD array.
#pragma once

#include <cstdint>
#include <string_view>

#include "out_file.hpp"

// The comment block at the head of a -fb output: part one, the output path,
// part two.
extern const std::string_view BITMAP_BANNER_PART_ONE;
extern const std::string_view BITMAP_BANNER_PART_TWO;

// Converts one bitmap. With input_path the file is opened here (and the array
// name buffer emptied); otherwise input_fd, positioned at the start of the
// bitmap, is used and closed. With input_path and output_path the output file
// is created here and closed again; otherwise shared_output receives the array
// (after the banner when OPT_WRITE_BANNER is set) and stays open.
// Returns 0, or an exit code (5 to 10) after printing its message; on a
// refusal nothing is written.
int convert_bitmap(const char* input_path, const char* output_path, std::uint32_t flags, int input_fd,
                   OutFile* shared_output);
