// File arrays: one input file as a C array of unsigned characters, the same
// bytes raw to the collection image, the length into the file length list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "io/out_file.hpp"
#include "control/user_table.hpp"

enum class EmitStatus { ok, read_failed, too_large, too_many_files };

// An input as it is converted. A regular file counts with the size it had
// when it was measured, right after it was opened: bytes appended later are
// not read, so a file that grows cannot push an array past the limit halfway.
// A pipe, a device or a file that reports size 0 with content (those of
// /proc) cannot be measured and is read whole into the input buffer first.
struct TakenInput {
    int fd = -1;
    std::size_t size = 0;   // bytes to convert (fewer when a file shrinks meanwhile)
    bool buffered = false;  // the bytes already wait in the input buffer
};

// Measures input_fd, or reads it whole into input_buffer. too_large and
// read_failed come before anything is written for the file, so a caller can
// refuse it before it creates an output.
EmitStatus take_input(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, int input_fd, TakenInput& input);

// Writes a taken input as a C array to c_source and, byte for byte as
// emitted, to image; records the emitted length in table. too_many_files
// writes nothing; read_failed may leave the part written before the failing
// read.
EmitStatus emit_taken_input(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, UserTable& table,
                            const TakenInput& input, OutFile& c_source, const char* array_name, std::uint32_t flags,
                            OutFile& image);

// take_input and emit_taken_input in one: too_large writes nothing.
EmitStatus emit_file_array(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, UserTable& table, int input_fd,
                           OutFile& c_source, const char* array_name, std::uint32_t flags, OutFile& image);
