#include "file_access.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef O_BINARY
#define O_BINARY 0  // POSIX has no text mode; the name documents the intent
#endif

int open_input(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    int fd = ::open(path, O_RDONLY | O_BINARY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int create_output(const char* path)
{
    if (path == nullptr || path[0] == '\0') {
        return -1;
    }
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_BINARY | O_CLOEXEC, 0666);
    return fd < 0 ? -1 : fd;
}

bool path_is_open_file(const char* path, int fd)
{
    struct stat by_path {};
    struct stat by_fd {};
    if (path == nullptr || fd < 0 || ::stat(path, &by_path) != 0 || ::fstat(fd, &by_fd) != 0) {
        return false;
    }
    return by_path.st_dev == by_fd.st_dev && by_path.st_ino == by_fd.st_ino;
}

bool same_open_file(int fd_a, int fd_b)
{
    struct stat a {};
    struct stat b {};
    if (fd_a < 0 || fd_b < 0 || ::fstat(fd_a, &a) != 0 || ::fstat(fd_b, &b) != 0) {
        return false;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

ReadStatus read_up_to(int fd, std::span<unsigned char> buffer, std::size_t& got)
{
    got = 0;
    while (got < buffer.size()) {
        ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
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

bool regular_file_size(int fd, std::size_t& size)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        return false;
    }
    size = static_cast<std::size_t>(st.st_size);
    return true;
}
