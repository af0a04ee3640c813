// One KorvaneConvert run: the input read into a buffer of its size, the image
// flattened, checked, encrypted and rotated as the request says, and the
// upload header and image written.
#pragma once

#include <cstddef>

#include "command_line.hpp"
#include "key_stream.hpp"
#include "out_file.hpp"

// Room in front of an image for the largest upload header, so that the
// header is written in front of the image without moving it.
constexpr std::size_t HEADER_ROOM = 10;

// What a run owns. Buffers are obtained as the run needs them, each of the
// size it needs, and released by free_image_buffers.
struct ConvertRun {
    int in_fd = -1;
    unsigned char* input = nullptr;  // HEADER_ROOM bytes, then the input bytes
    std::size_t input_length = 0;
    unsigned char* image = nullptr;  // HEADER_ROOM bytes, then the encrypted image of a record input
    KeyStream key_stream;
    OutFile out;
};

// Converts the input open on run.in_fd as request says: reads it, refuses
// what cannot be converted, then creates the output and writes it. Returns
// the exit code after printing any message.
int run_conversion(ConvertRun& run, const ConvertRequest& request);

// Releases the buffers the run obtained.
void free_image_buffers(ConvertRun& run);
