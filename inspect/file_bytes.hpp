// A whole file in one block of memory, read against a cap. The block is sized
// by what a regular file says it holds, and grows only for a file that holds
// more (a pipe, a file that grows): a hostile size never reserves more than
// the cap and a byte.
#pragma once

#include <cstddef>

struct FileBytes {
    unsigned char* data = nullptr;
    std::size_t size = 0;      // bytes held
    std::size_t capacity = 0;  // bytes the block has room for
};

enum class FileRead { ok, failed, too_large };

// Reads fd from its position to its end. too_large: it holds more than cap
// bytes; failed: a read reported an error, or there is no memory.
FileRead read_file_bytes(int fd, std::size_t cap, FileBytes& bytes);

// Makes room for size bytes; what the block held is not kept. False without memory.
bool reserve_bytes(FileBytes& bytes, std::size_t size);

void release_bytes(FileBytes& bytes);
