// How KorvaneFileCreate opens, creates, compares and reads files.
#pragma once

#include <cstddef>
#include <span>

// Opens a file for binary reading. A folder counts as a file that cannot be
// opened. Returns the descriptor, or -1.
int open_input(const char* path);

// Creates or truncates a file for binary writing with ordinary read-write
// permission (before the umask). Returns the descriptor, or -1.
int create_output(const char* path);

// True when path names the very file that is open on fd (same device and
// inode, so hard and symbolic links are seen through). False when path does
// not exist yet.
bool path_is_open_file(const char* path, int fd);

// True when both descriptors refer to the same file.
bool same_open_file(int fd_a, int fd_b);

enum class ReadStatus { ok, failed, too_large };

// Reads until buffer is full or the file ends; got receives the count.
// Returns ok or failed (never too_large).
ReadStatus read_up_to(int fd, std::span<unsigned char> buffer, std::size_t& got);

// True when fd is a regular file; size then receives its current length.
bool regular_file_size(int fd, std::size_t& size);

// Reads fd to its end into buffer. got receives the number of bytes read.
// too_large: the file holds more than buffer.size() bytes (got is then
// buffer.size()); failed: a read reported an error.
ReadStatus read_whole(int fd, std::span<unsigned char> buffer, std::size_t& got);
