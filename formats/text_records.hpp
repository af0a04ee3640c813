// What Intel HEX and S-record text have in common: lines ended by LF or
// CR LF, each a record of upper-case hex digit pairs (as toolchains write
// them; a lower-case digit is refused, so that every changed character of a
// record is seen), a checksum byte per line, and an end record behind which
// only line ends may follow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "formats/image_placement.hpp"

// One line of the text: its characters without the line end.
struct TextLine {
    const unsigned char* text = nullptr;
    std::size_t length = 0;
    std::uint64_t number = 0;  // counted from 1
};

// Where a walk through the lines stands.
struct LineCursor {
    std::size_t pos = 0;
    std::uint64_t number = 0;
};

// The next line from cursor.pos; false at the end of the input.
bool next_line(std::span<const unsigned char> input, LineCursor& cursor, TextLine& line);

// True when count characters at text are upper-case hex digits.
bool hex_digits(const unsigned char* text, std::size_t count);

// Two upper-case hex digits as a byte (the caller has checked them).
unsigned hex_byte(const unsigned char* text);

// Decodes the count digit pairs at text (checked) into out, when it is not
// nullptr; returns the sum of the bytes.
unsigned decode_pairs(const unsigned char* text, std::size_t count, unsigned char* out);

// After the end record on line: only line ends may follow. Sets after_end
// (naming the line that holds something else) otherwise.
void expect_only_line_ends(std::span<const unsigned char> input, LineCursor cursor, Placement& place);

// Places count data bytes, given as digit pairs at text (in input), at address.
void place_hex_data(std::span<const unsigned char> input, Placement& place, std::uint64_t address,
                    const unsigned char* text, std::size_t count, std::uint64_t line);
