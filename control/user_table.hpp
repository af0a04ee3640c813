// The user_files table of a collection: its C text as the emitter appends
// it, the same rows as their pieces, and the file length list. The image is
// laid out from the pieces and the lengths, never from the text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "control/array_names.hpp"
#include "control/entry_buffers.hpp"
#include "io/out_file.hpp"

constexpr std::size_t MAX_FILES = 128;
constexpr std::size_t TABLE_TEXT_SIZE = 131072;

// Every piece is written, NUL-terminated, before its row counts.
struct TableRow {
    std::array<char, PATH_BUFFER_SIZE> name;        // the path after the parameter-name rule
    ArrayName array_name;  // made from the path (one longer), maybe with a suffix
    std::array<char, MIME_BUFFER_SIZE> mime;
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility;
};

// The text and the rows are read only as far as they have been written, so
// they are left uninitialised: a run touches only the memory it uses.
struct UserTable {
    std::array<char, TABLE_TEXT_SIZE> text;
    std::size_t text_length = 0;
    std::array<TableRow, MAX_FILES> rows;
    std::size_t row_count = 0;  // rows with both phases added
    std::array<std::uint32_t, MAX_FILES> lengths{};  // emitted length of each file, in emitting order
    std::size_t length_count = 0;
};

// Appends phase 0 (the path) or phase 1 (array name and identifiers) of one
// table entry; any other phase does nothing. Returns false, appending
// nothing, when the text, a piece or the rows would overflow.
bool add_table_entry(UserTable& table, int phase, const char* text, const char* mime, const char* visibility,
                     std::uint32_t flags);

// Turns a path in place into its array name (one character longer): '_',
// the path up to its last full stop, every byte no C identifier holds as '_'.
void make_array_name(char* path);

void write_user_file_table(const UserTable& table, OutFile& c_source);
