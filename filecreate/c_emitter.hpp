// C source emitter: file arrays, the user_files table text and the file
// length list that the collection image is built from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "out_file.hpp"

constexpr std::size_t INPUT_BUFFER_SIZE = 1048576;
constexpr std::size_t MAX_FILES = 128;
constexpr std::size_t TABLE_TEXT_SIZE = 131072;

// The one large input buffer of the program. The bitmap writer borrows it as
// its row reversal buffer; no mode needs both at once.
std::span<unsigned char, INPUT_BUFFER_SIZE> shared_input_buffer();

enum class EmitStatus { ok, read_failed, too_large, too_many_files };

// Reads the whole input (at most INPUT_BUFFER_SIZE bytes) and writes it as a
// C array to c_source and, byte for byte as emitted, to image; records the
// emitted length. too_large and too_many_files write nothing; read_failed may
// leave the part written before the failing read.
EmitStatus emit_file_array(int input_fd, OutFile& c_source, const char* array_name,
                           std::uint32_t flags, OutFile& image);

// Turns a path in place into its array name (one character longer).
void make_array_name(char* path);

// Appends phase 0 (the path) or phase 1 (names and identifiers) of one table
// entry. Returns false, appending nothing, when the table text would overflow.
bool add_table_entry(int phase, const char* text, const char* mime, const char* visibility,
                     std::uint32_t flags);

void write_user_file_table(OutFile& c_source);

// Read by the collection image writer.
std::string_view user_table_text();
std::span<const std::int32_t> file_lengths();

void reset_emitter_state();  // tests: empty table text and length list
