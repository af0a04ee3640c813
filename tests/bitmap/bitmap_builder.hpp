// Test bitmaps built from header fields written as (width, value) pairs, and
// an independent model of the GLCD array that a picture should give.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct Field {
    int width;            // 1, 2 or 4 bytes, little-endian
    std::uint32_t value;
};

std::string pack_fields(std::initializer_list<Field> fields);

// Rows in the order the file stores them; true is a set pixel.
using Picture = std::vector<std::vector<bool>>;

Picture random_picture(unsigned width, unsigned height, unsigned seed);

// Pixel data as a bitmap stores it: rows padded to 4 bytes. 1 bit per pixel
// sets the pixel's bit; 24 bits per pixel writes white (FF FF FF) or black.
std::string encode_pixels(const Picture& picture, unsigned width, unsigned bits_per_pixel);

struct BitmapFile {
    std::uint32_t width = 0;          // 32-bit fields, written as given
    std::uint32_t height = 0;
    unsigned bits_per_pixel = 1;
    std::uint32_t compression = 0;
    std::uint32_t header_size = 40;   // information header bytes written (at least 40)
    std::string palette;              // bytes between the headers and the pixel data
    std::string pixels;
    std::int64_t image_size = -1;     // -1: the length of pixels
    std::int64_t file_size = -1;      // -1: the real file length
};

// A black-and-white palette: entry 0 black, entry 1 white, or the other way.
std::string two_entry_palette(bool entry0_white);

std::string build_bitmap(const BitmapFile& file);

// A complete 1- or 24-bit bitmap of picture with an exact image size.
std::string bitmap_of(const Picture& picture, unsigned width, unsigned bits_per_pixel);

struct ArrayOptions {
    bool invert = false;
    bool reverse = false;
    std::string name;   // empty: "array"
};

// The C array the converter must write for picture (rows as stored, all of
// them complete), with its line breaks: after every 30th 4-byte unit of a
// direct 1-bit array, every 30th value of a direct 24-bit array, every 60th
// value of a reversed one.
std::string expected_array(const Picture& picture, unsigned width, unsigned bits_per_pixel,
                           const ArrayOptions& options);
