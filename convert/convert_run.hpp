// One KorvaneConvert run: the input read into a buffer of its size, the image
// flattened there, checked, encrypted and rotated as the request says, and
// the upload header and image written.
#pragma once

#include <cstddef>

#include "convert/command_line.hpp"
#include "formats/key_stream.hpp"
#include "io/out_file.hpp"

// Room in front of the image for the largest upload header, so that the
// header is written in front of the image without moving it.
constexpr std::size_t HEADER_ROOM = 10;

// Room in front of the input for a record image that runs ahead of it (each
// gap adds to the lead, each record's address and length take from it), so
// that flattening in place seldom has to move the whole input first. Pages
// of it that an image does not reach are never touched.
constexpr std::size_t LEAD_ROOM = 1 << 16;

// What a run owns. The one buffer holds the input and then, in about the
// same place, the image; it is sized by the input and grown only when the
// input holds more than its file said or the image runs further ahead of
// the input than LEAD_ROOM.
struct ConvertRun {
    int in_fd = -1;
    unsigned char* buffer = nullptr;  // HEADER_ROOM + LEAD_ROOM bytes, then the input
    std::size_t capacity = 0;         // bytes the buffer holds for the input
    std::size_t input_length = 0;
    unsigned char* toolchain_image = nullptr;  // ELF, HEX, S-records: HEADER_ROOM bytes, then the image
    KeyStream key_stream;
    OutFile out;
    bool strict = false;  // KORVANE_STRICT=1: a warning ends the run (exit 12)
};

// Converts the input open on run.in_fd as request says: reads it, refuses
// what cannot be converted, then creates the output and writes it. Returns
// the exit code after printing any message.
int run_conversion(ConvertRun& run, const ConvertRequest& request);

// Releases the buffer the run obtained.
void free_image_buffers(ConvertRun& run);
