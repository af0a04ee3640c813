// The files KorvaneInspect reads whole (an image, an upload image, a C
// source, a firmware file): opened and read with one message and exit code
// per failure, worded alike in every mode.
#pragma once

#include <cstddef>

#include "inspect/file_bytes.hpp"

// Opens path for reading into fd. Returns EXIT_OK, or an exit code after the message.
int open_inspected(const char* path, int& fd);

// Reads fd whole, at most cap bytes, into bytes; fd stays open. Returns
// EXIT_OK, or an exit code after the message.
int read_inspected(int fd, const char* path, std::size_t cap, FileBytes& bytes);
