// The files KorvaneInspect writes when asked to (--plain, --pbm): created
// only when they are not the file being inspected, and every write checked.
#pragma once

#include "io/out_file.hpp"

// Creates path and attaches out to it, unless path names the file open on
// input_fd. Returns EXIT_OK, or an exit code after the message.
int open_output(OutFile& out, const char* path, int input_fd);

// Writes what is buffered and closes. Returns EXIT_OK, or an exit code
// after the message when a write or the close failed.
int close_output(OutFile& out, const char* path);
