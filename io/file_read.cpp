#include "io/file_read.hpp"

#include <cerrno>
#include <unistd.h>

ssize_t read_some(int fd, void* buffer, std::size_t count)
{
#ifdef _WIN32
    // The C runtime of Windows takes the count as an unsigned int and
    // returns an int; a shorter read is allowed anyway.
    count = count > (1u << 30) ? (1u << 30) : count;
#endif
    for (;;) {
        ssize_t n = ::read(fd, buffer, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n;
    }
}

ReadStatus read_up_to(int fd, std::span<unsigned char> buffer, std::size_t& got)
{
    got = 0;
    while (got < buffer.size()) {
        ssize_t n = read_some(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0) {
            return ReadStatus::failed;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return ReadStatus::ok;
}

ReadStatus read_whole(int fd, std::span<unsigned char> buffer, std::size_t& got)
{
    if (read_up_to(fd, buffer, got) == ReadStatus::failed) {
        return ReadStatus::failed;
    }
    if (got < buffer.size()) {
        return ReadStatus::ok;
    }
    // The buffer is full: one more byte means the file does not fit.
    unsigned char extra = 0;
    std::size_t more = 0;
    if (read_up_to(fd, std::span<unsigned char>(&extra, 1), more) == ReadStatus::failed) {
        return ReadStatus::failed;
    }
    return more == 0 ? ReadStatus::ok : ReadStatus::too_large;
}
