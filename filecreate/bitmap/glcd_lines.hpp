// The value text of a GLCD array, built locally whole lines at a time with
// the array's line-break rule, and handed to the output in large blocks.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "formats/glcd_array.hpp"
#include "io/out_file.hpp"
#include "formats/value_text.hpp"

// The longest line: 30 units of 4 values, in a direct 1-bit array.
constexpr std::size_t LONGEST_LINE = GLCD_DIRECT_UNITS_PER_LINE * GLCD_UNIT_BYTES * VALUE_TEXT_SIZE;

// Text under construction. It goes out in blocks of exactly the output's
// buffer size, which the output writes straight from here instead of copying
// them (a 1-bit array's text is five times the size of its bitmap). An array
// that starts a file is thus written in whole 64 KiB pieces at multiples of
// 64 KiB, which the file system takes without merging partly written pages.
struct LineText {
    OutFile& out;
    unsigned per_line;   // steps that fill a line
    unsigned step;       // values a step counts: 4 (a unit) in direct 1-bit arrays, else 1
    unsigned count = 0;  // the line counter, in steps
    std::size_t used = 0;
    // A block, one more line, its end and the padding of an 8-byte value copy.
    std::array<char, OUT_FILE_BUFFER_SIZE + LONGEST_LINE + VALUE_TEXT_STRIDE> text{};
};

// Writes what is held to the output.
void hand_over(LineText& line);

// Appends text other than values: the header line, the closing.
void add_text(LineText& line, std::string_view text);

// Appends the value texts of count bytes, with no line break.
void add_values(LineText& line, const unsigned char* bytes, std::size_t count);

// Ends the line with "\r\n" and restarts the line counter.
void end_line(LineText& line);

// Values with a line break after every per_line-th step. A run of values
// ends with a whole step, or with a shorter one at the end of a 1-bit row
// (its last unit gives the rest of the row's bytes).
void put_values(LineText& line, const unsigned char* bytes, std::size_t count);
