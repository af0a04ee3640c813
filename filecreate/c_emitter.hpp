// File arrays: one input file as a C array of unsigned characters, the same
// bytes raw to the collection image, the length into the file length list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "out_file.hpp"
#include "user_table.hpp"

// Option -w: keeps only the first byte of every run of white space (CR, LF,
// blank, tab) of count bytes from src, stored from dest on (dest may be src
// or lie before it), and returns how many were kept. after_space says whether
// the byte kept last was white space; it carries a run from call to call.
std::size_t squeeze_white_space(const unsigned char* src, std::size_t count, unsigned char* dest, bool& after_space);

// The largest input file; also the size of the run's input buffer.
constexpr std::size_t INPUT_BUFFER_SIZE = 1048576;

enum class EmitStatus { ok, read_failed, too_large, too_many_files };

// Reads the whole input (at most INPUT_BUFFER_SIZE bytes, through
// input_buffer) and writes it as a C array to c_source and, byte for byte as
// emitted, to image; records the emitted length in table. too_large and
// too_many_files write nothing; read_failed may leave the part written
// before the failing read.
EmitStatus emit_file_array(std::span<unsigned char, INPUT_BUFFER_SIZE> input_buffer, UserTable& table, int input_fd,
                           OutFile& c_source, const char* array_name, std::uint32_t flags, OutFile& image);
