// The names of the arrays of one C output. Two arrays of one name do not
// compile, and two entries easily make the same name (index.htm and
// index.css both give _index; a bitmap listed twice, or two without a name,
// both give array). An entry whose array name an earlier array of the output
// already has gets the suffix _N, N being its file number in the run, which
// no other entry has; names that do not collide stay as they are.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "control/entry_buffers.hpp"

constexpr std::size_t NAME_SUFFIX_SIZE = 11;  // "_" and the digits of any file number
// An array name is made from a path (one longer than the path) or taken
// from the control file (shorter), and may get the suffix.
constexpr std::size_t ARRAY_NAME_CAPACITY = PATH_BUFFER_SIZE + NAME_SUFFIX_SIZE;
using ArrayName = std::array<char, ARRAY_NAME_CAPACITY>;

// -f holds at most 128 files; -fb has no other limit.
constexpr std::size_t MAX_ARRAY_NAMES = 4096;

struct ArrayNames {
    std::array<ArrayName, MAX_ARRAY_NAMES> names;  // read only as far as counted
    std::size_t count = 0;
};

enum class NameChoice {
    as_made,   // no earlier array has the name
    suffixed,  // an earlier one has it: name_N
    taken,     // name_N is in use too; nothing recorded
    full,      // MAX_ARRAY_NAMES arrays have their names already; nothing recorded
};

// A C identifier: only the bytes A-Z a-z 0-9 _, not starting with a digit.
bool is_c_identifier(std::string_view name);

// A name no array may have although it is an identifier: the keywords of C99
// to C23, _Pragma and __func__, the names compilers predefine (__FILE__,
// __LINE__, _LP64, _WIN32, __linux__, ...) and main. docs/behaviour.md lists
// them all.
bool is_reserved_name(std::string_view name);

// Every byte of name that no identifier holds becomes '_', in place.
void make_identifier_bytes(char* name);

// Chooses the name of the next array of names, the one of entry file_number,
// and records it in chosen. A reserved name counts as one an earlier array
// has. A suffixed name is the caller's to report.
NameChoice name_entry_array(ArrayNames& names, int file_number, std::string_view made, ArrayName& chosen);
