// Buffered reading of one bitmap file: headers, palette and pixel data come
// through one fixed chunk, so a 4096 x 4096 picture costs a few hundred reads
// instead of millions of 3- and 4-byte ones.
#pragma once

#include <cstddef>
#include <cstdint>

struct BitmapInput {
    int fd = -1;
    std::size_t pos = 0;   // next unread byte of the chunk
    std::size_t len = 0;   // bytes held in the chunk
    bool failed = false;   // a read reported an error
};

void input_attach(BitmapInput& in, int fd);

// Copies the next count bytes to dest. False when the file ends (or a read
// fails) first; dest then holds what was there.
bool input_take(BitmapInput& in, unsigned char* dest, std::size_t count);

// Passes over count bytes. False when the file ends first.
bool input_skip(BitmapInput& in, std::size_t count);

// Bytes the file still holds after the read position, or -1 when the input is
// not a regular file and so cannot tell in advance.
std::int64_t input_remaining(const BitmapInput& in);
