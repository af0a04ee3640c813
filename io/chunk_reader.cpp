#include "io/chunk_reader.hpp"

#include "io/file_access.hpp"
#include "io/file_read.hpp"

#include <cstring>
#include <unistd.h>

#ifdef _WIN32
#include <io.h>
#endif

namespace {

// Where the next read of fd starts, or -1; 64 bits on every platform.
std::int64_t read_position(int fd)
{
#ifdef _WIN32
    return ::_lseeki64(fd, 0, SEEK_CUR);
#else
    return ::lseek(fd, 0, SEEK_CUR);
#endif
}

bool refill(ChunkReader& in)
{
    in.pos = 0;
    in.len = 0;
    ssize_t got = read_some(in.fd, in.chunk.data(), in.chunk.size());
    if (got < 0) {
        in.failed = true;
        return false;
    }
    in.len = static_cast<std::size_t>(got);
    return got > 0;
}

}  // namespace

void reader_attach(ChunkReader& in, int fd)
{
    in.fd = fd;
    in.pos = 0;
    in.len = 0;
    in.failed = false;
}

bool reader_take(ChunkReader& in, unsigned char* dest, std::size_t count)
{
    while (count > 0) {
        if (in.pos == in.len && !refill(in)) {
            return false;
        }
        std::size_t part = in.len - in.pos < count ? in.len - in.pos : count;
        std::memcpy(dest, in.chunk.data() + in.pos, part);
        in.pos += part;
        dest += part;
        count -= part;
    }
    return true;
}

std::span<const unsigned char> reader_borrow(ChunkReader& in, std::size_t count)
{
    count = count < in.chunk.size() ? count : in.chunk.size();
    if (in.len - in.pos < count) {
        // Move the rest to the front and fill the chunk up behind it, so the
        // bytes asked for lie in one piece.
        std::size_t rest = in.len - in.pos;
        std::memmove(in.chunk.data(), in.chunk.data() + in.pos, rest);
        in.pos = 0;
        in.len = rest;
        while (in.len < count) {
            ssize_t got = read_some(in.fd, in.chunk.data() + in.len, in.chunk.size() - in.len);
            if (got <= 0) {
                in.failed = in.failed || got < 0;
                break;
            }
            in.len += static_cast<std::size_t>(got);
        }
    }
    std::size_t part = in.len - in.pos < count ? in.len - in.pos : count;
    std::span<const unsigned char> lent(in.chunk.data() + in.pos, part);
    in.pos += part;
    return lent;
}

bool reader_skip(ChunkReader& in, std::size_t count)
{
    while (count > 0) {
        if (in.pos == in.len && !refill(in)) {
            return false;
        }
        std::size_t part = in.len - in.pos < count ? in.len - in.pos : count;
        in.pos += part;
        count -= part;
    }
    return true;
}

std::int64_t reader_remaining(const ChunkReader& in)
{
    std::size_t size = 0;
    if (!regular_file_size(in.fd, size)) {
        return -1;
    }
    std::int64_t position = read_position(in.fd);
    if (position < 0) {
        return -1;
    }
    std::int64_t rest = static_cast<std::int64_t>(size) - position;
    if (rest < 0) {
        rest = 0;
    }
    return rest + static_cast<std::int64_t>(in.len - in.pos);
}
