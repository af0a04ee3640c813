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
        int error = S_ISDIR(st.st_mode) ? EISDIR : errno;  // the reason a diagnostic names
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int create_output(const char* path)
{
    if (path == nullptr || path[0] == '\0') {
        errno = ENOENT;  // what the system says of an empty name
        return -1;
    }
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_BINARY | O_CLOEXEC, 0666);
    return fd < 0 ? -1 : fd;
}

FileIdentity identity_of_fd(int fd)
{
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        return {};
    }
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

FileIdentity identity_of_path(const char* path)
{
    struct stat st {};
    if (path == nullptr || ::stat(path, &st) != 0) {
        return {};
    }
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool same_identity(const FileIdentity& a, const FileIdentity& b)
{
    return a.known && b.known && a.device == b.device && a.index == b.index;
}

bool path_is_open_file(const char* path, int fd)
{
    return same_identity(identity_of_path(path), identity_of_fd(fd));
}

bool same_open_file(int fd_a, int fd_b)
{
    return same_identity(identity_of_fd(fd_a), identity_of_fd(fd_b));
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
