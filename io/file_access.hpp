// How the programs open, create and compare files.
#pragma once

#include <cstddef>
#include <cstdint>

// Opens a file for binary reading. A folder counts as a file that cannot be
// opened. Returns the descriptor, or -1 with errno telling why (EISDIR for a
// folder).
int open_input(const char* path);

// Creates or truncates a file for binary writing with ordinary read-write
// permission (before the umask). Returns the descriptor, or -1 with errno
// telling why.
int create_output(const char* path);

// What makes a file the same file under any of its names: device and
// inode (on Windows the volume serial number and the file index), so that
// hard and symbolic links are seen through. known is false when the file
// does not exist or cannot be examined.
struct FileIdentity {
    bool known = false;
    std::uint64_t device = 0;
    std::uint64_t index = 0;
};

FileIdentity identity_of_fd(int fd);
FileIdentity identity_of_path(const char* path);

// The identity of the file that open_input(path) would open, found without
// opening it (opening a FIFO would wait for a writer): unknown for a folder
// or a file that does not exist.
FileIdentity identity_of_input(const char* path);

// True when both are known and name the same file.
bool same_identity(const FileIdentity& a, const FileIdentity& b);

// True when path names the very file that is open on fd (same device and
// inode, so hard and symbolic links are seen through). False when path does
// not exist yet.
bool path_is_open_file(const char* path, int fd);

// True when both descriptors refer to the same file.
bool same_open_file(int fd_a, int fd_b);

// True when fd is a regular file; size then receives its current length.
bool regular_file_size(int fd, std::size_t& size);
