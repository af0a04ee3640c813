// Buffered sequential reading of one input file: headers, palettes and pixel
// data come through one fixed chunk, so a large picture costs a few hundred
// reads instead of millions of 3- and 4-byte ones.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::size_t CHUNK_READER_SIZE = 1 << 16;

struct ChunkReader {
    int fd = -1;
    std::size_t pos = 0;   // next unread byte of the chunk
    std::size_t len = 0;   // bytes held in the chunk
    bool failed = false;   // a read reported an error
    // Filled before it is read, so it is left uninitialised: inside a run
    // record on the heap a reader that a mode does not use costs no memory.
    std::array<unsigned char, CHUNK_READER_SIZE> chunk;
};

// Starts reading fd from its current position with an empty chunk.
void reader_attach(ChunkReader& in, int fd);

// Copies the next count bytes to dest. False when the file ends (or a read
// fails) first; dest then holds what was there.
bool reader_take(ChunkReader& in, unsigned char* dest, std::size_t count);

// Lends the next count bytes in place, without copying them out, and moves
// past them: the view stays valid until the next call on in. count is capped
// at the chunk size; fewer bytes come back only when the file ends (or a read
// fails) first.
std::span<const unsigned char> reader_borrow(ChunkReader& in, std::size_t count);

// Passes over count bytes. False when the file ends first.
bool reader_skip(ChunkReader& in, std::size_t count);

// Bytes the file still holds after the read position, or -1 when the input is
// not a regular file and so cannot tell in advance.
std::int64_t reader_remaining(const ChunkReader& in);
