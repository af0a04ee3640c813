// Reading from descriptors: the one place that retries interrupted reads,
// reading up to a size, and reading a whole file against a capacity.
#pragma once

#include <cstddef>
#include <span>
#include <sys/types.h>

// One read(2), repeated while it is interrupted by a signal. Returns what
// read returns: the count, 0 at the end, -1 on an error.
ssize_t read_some(int fd, void* buffer, std::size_t count);

enum class ReadStatus { ok, failed, too_large };

// Reads until buffer is full or the file ends; got receives the count.
// Returns ok or failed (never too_large).
ReadStatus read_up_to(int fd, std::span<unsigned char> buffer, std::size_t& got);

// Reads fd to its end into buffer. got receives the number of bytes read.
// too_large: the file holds more than buffer.size() bytes (got is then
// buffer.size()); failed: a read reported an error.
ReadStatus read_whole(int fd, std::span<unsigned char> buffer, std::size_t& got);
