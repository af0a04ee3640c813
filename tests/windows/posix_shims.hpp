// POSIX calls that the unit tests use and the C runtime of Windows spells
// differently; the Windows build puts this in front of every test source.
#pragma once

#include <cstring>
#include <direct.h>
#include <dirent.h>
#include <fcntl.h>
#include <io.h>

inline int mkdir(const char* path, int /*mode*/) { return ::_mkdir(path); }
inline int pipe(int fds[2]) { return ::_pipe(fds, 1 << 16, _O_BINARY); }

// Windows has no /proc, so counting open descriptors there finds nothing.
// Under Wine the path would reach the Linux process behind the program,
// whose descriptors Wine opens and closes at will: keep it absent.
inline DIR* opendir_without_proc(const char* path)
{
    return std::strncmp(path, "/proc/", 6) == 0 ? nullptr : ::opendir(path);
}
#define opendir opendir_without_proc
