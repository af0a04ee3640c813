#include "inspect/file_bytes.hpp"

#include <cstdlib>
#include <span>

#include "io/file_access.hpp"
#include "io/file_read.hpp"

namespace {

constexpr std::size_t FIRST_BLOCK = 1 << 16;  // for files that cannot tell their size

// Grows the block to capacity bytes, keeping what it holds.
bool grow(FileBytes& bytes, std::size_t capacity)
{
    void* larger = std::realloc(bytes.data, capacity);
    if (larger == nullptr) {
        return false;
    }
    bytes.data = static_cast<unsigned char*>(larger);
    bytes.capacity = capacity;
    return true;
}

}  // namespace

FileRead read_file_bytes(int fd, std::size_t cap, FileBytes& bytes)
{
    bytes.size = 0;
    std::size_t size = 0;
    // One byte more than the file says, so that its end is seen without growing.
    const std::size_t first = regular_file_size(fd, size) && size < cap ? size + 1 : FIRST_BLOCK;
    if (bytes.capacity < first && !grow(bytes, first < cap + 1 ? first : cap + 1)) {
        return FileRead::failed;
    }
    for (;;) {
        std::size_t got = 0;
        const std::span<unsigned char> room(bytes.data + bytes.size, bytes.capacity - bytes.size);
        if (read_up_to(fd, room, got) != ReadStatus::ok) {
            return FileRead::failed;
        }
        bytes.size += got;
        if (bytes.size > cap) {
            return FileRead::too_large;
        }
        if (bytes.size < bytes.capacity) {
            return FileRead::ok;
        }
        const std::size_t next = bytes.capacity * 2 < cap + 1 ? bytes.capacity * 2 : cap + 1;
        if (!grow(bytes, next)) {
            return FileRead::failed;
        }
    }
}

bool reserve_bytes(FileBytes& bytes, std::size_t size)
{
    bytes.size = 0;
    // realloc of 0 bytes may give nothing back; a block of 1 always serves.
    return size <= bytes.capacity || grow(bytes, size == 0 ? 1 : size);
}

void release_bytes(FileBytes& bytes)
{
    std::free(bytes.data);
    bytes = {};
}
