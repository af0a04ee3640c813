// The GLCD array: a C array of monochrome bytes for a graphic LCD. After the
// header line come five size values (a zero, the width and the height as
// 16-bit big-endian numbers), then every row as (width + 7) / 8 bytes with the
// leftmost pixel in bit 7 and the bits past the width in the last byte, each
// value written "0xHH," (upper case). Direct 1-bit arrays break the line after
// every 30th 4-byte unit of the bitmap rows, direct 24-bit arrays after every
// 30th value, arrays with reversed rows after every 60th value.
//
// Writing lives with the bitmap converter; this file holds the geometry both
// sides share and a decoder that reads array text back, for tests and for
// tools that show arrays. It depends on the standard library alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view GLCD_UNNAMED_HEAD = "static const unsigned char array[] = {\r\n";
constexpr std::string_view GLCD_NAMED_HEAD_START = "static const unsigned char ";
constexpr std::string_view GLCD_NAMED_HEAD_END = "[] = {\r\n";
constexpr std::string_view GLCD_LINE_END = "\r\n";
constexpr std::string_view GLCD_ARRAY_END = "};\r\n\n";

constexpr std::size_t GLCD_PREAMBLE_SIZE = 5;
constexpr std::size_t GLCD_UNIT_BYTES = 4;                // a 1-bit bitmap row is read in 4-byte units
constexpr unsigned GLCD_DIRECT_UNITS_PER_LINE = 30;       // direct, 1 bit per pixel
constexpr unsigned GLCD_DIRECT_VALUES_PER_LINE = 30;      // direct, 24 bits per pixel
constexpr unsigned GLCD_REVERSED_VALUES_PER_LINE = 60;    // reversed rows, either depth

// Output bytes per row: eight pixels a byte, the last one padded.
constexpr std::uint32_t glcd_row_bytes(std::uint32_t width)
{
    return (width + 7) / 8;
}

// Pixel bytes of a whole array (the preamble not counted).
constexpr std::uint64_t glcd_pixel_bytes(std::uint32_t width, std::uint32_t height)
{
    return std::uint64_t{glcd_row_bytes(width)} * height;
}

constexpr std::array<unsigned char, GLCD_PREAMBLE_SIZE> glcd_preamble(std::uint16_t width, std::uint16_t height)
{
    return {0, static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width & 0xFF),
            static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height & 0xFF)};
}

// One array read back from C text.
struct GlcdArray {
    std::string name;                 // the C name before "[]"; empty when the text shows none
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<unsigned char> rows;  // glcd_row_bytes(width) bytes per row, in the array's order
    std::size_t offset = 0;           // position of the '{' that opens the values
};

enum class GlcdDecode {
    ok,
    no_values,      // no '{' in the text
    bad_value,      // a token that is not a value from 0 to 255, a missing comma, or no closing '}'
    no_preamble,    // fewer than five values, or a first value other than 0
    wrong_count,    // the values after the preamble are not (width + 7) / 8 * height
};

// Decodes the first value list of text (comments and literals before it are
// passed over). Values may be hexadecimal, decimal or octal C literals with
// blanks and comments between them and an optional comma after the last.
// Never reads outside text; memory grows with the values present, never with
// the size a preamble claims.
GlcdDecode glcd_decode_array(std::string_view text, GlcdArray& array);

// Every GLCD array of a C file, in text order: value lists whose preamble
// matches their number of values. Other lists, comments and string literals
// are passed over; hostile text yields fewer arrays, never an error.
std::vector<GlcdArray> glcd_find_arrays(std::string_view text);

// The same one array at a time, so that a caller that handles each in turn
// holds one in memory: where the search goes on, and the value buffer.
struct GlcdScan {
    std::size_t open = 0;   // where the next '{' is looked for
    std::size_t floor = 0;  // end of the last array found: names are not looked for before it
    bool started = false;
    std::vector<unsigned char> values;
};

// The next array of text after those scan has found; false after the last.
bool glcd_next_array(std::string_view text, GlcdScan& scan, GlcdArray& array);

// The pixel at column x of row y (rows in the array's order); false outside.
bool glcd_pixel(const GlcdArray& array, unsigned x, unsigned y);
