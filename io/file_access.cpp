#include "io/file_access.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
// Descriptors are not inherited by child processes there either.
#define O_CLOEXEC O_NOINHERIT
#endif

#ifndef O_BINARY
#define O_BINARY 0  // POSIX has no text mode; the name documents the intent
#endif

namespace {

// The C runtime of Windows reports sizes in 32 bits through plain fstat; its
// 64-bit form keeps files over 2 GiB from reading as small ones.
#ifdef _WIN32
using StatRecord = struct _stat64;
int stat_of_fd(int fd, StatRecord& st) { return ::_fstat64(fd, &st); }
int stat_of_path(const char* path, StatRecord& st) { return ::_stat64(path, &st); }
#else
using StatRecord = struct stat;
int stat_of_fd(int fd, StatRecord& st) { return ::fstat(fd, &st); }
int stat_of_path(const char* path, StatRecord& st) { return ::stat(path, &st); }
#endif

}  // namespace

int open_input(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    int fd = ::open(path, O_RDONLY | O_BINARY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    StatRecord st {};
    if (stat_of_fd(fd, st) != 0 || S_ISDIR(st.st_mode)) {
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

#ifdef _WIN32

// The C runtime of Windows gives every file the inode number 0; the volume
// serial number and the file index name a file under all its hard links.
namespace {

FileIdentity identity_of_handle(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) {
        return {};
    }
    return {true, info.dwVolumeSerialNumber,
            static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

}  // namespace

FileIdentity identity_of_fd(int fd)
{
    if (fd < 0) {
        return {};
    }
    return identity_of_handle(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)));
}

FileIdentity identity_of_path(const char* path)
{
    if (path == nullptr) {
        return {};
    }
    // Attributes only, shared with every other opener, so that a file the
    // run itself holds open can be examined; folders need the backup flag.
    HANDLE handle = ::CreateFileA(path, FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    FileIdentity identity = identity_of_handle(handle);
    ::CloseHandle(handle);
    return identity;
}

#else

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

#endif

FileIdentity identity_of_input(const char* path)
{
    StatRecord st {};
    if (path == nullptr || stat_of_path(path, st) != 0 || S_ISDIR(st.st_mode)) {
        return {};
    }
    return identity_of_path(path);
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
    StatRecord st {};
    if (stat_of_fd(fd, st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        return false;
    }
    size = static_cast<std::size_t>(st.st_size);
    return true;
}
