// The control-file language: a byte-by-byte state machine that yields one
// entry (an input file opened for reading) per call, and collects the
// definitions, the target address and the array name buffer on its way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "control/control_text.hpp"
#include "control/entry_buffers.hpp"

constexpr std::size_t MAX_DEFINITIONS = 64;
constexpr std::size_t DEFINITION_NAME_SIZE = 256;  // 255 characters and the NUL
constexpr std::size_t ARRAY_NAME_SIZE = 100;       // 99 characters and the NUL

struct Definition {
    std::array<char, DEFINITION_NAME_SIZE> name;  // written whole before the definition counts
    std::int32_t value = 0;
};

// What the control file has set so far; kept for the whole run, since the
// image writer reads it after the loop and the bitmap writer between entries.
// Definitions are read only as far as they are counted, so the table is left
// uninitialised until then.
struct ControlSettings {
    std::array<Definition, MAX_DEFINITIONS> definitions;
    std::size_t definition_count = 0;  // entries are added in file order, never replaced
    std::uint32_t target_address = 0;  // the last target address line counts
    std::array<char, ARRAY_NAME_SIZE> array_name{};  // the bitmap writer's name for the next array
    unsigned array_name_overflow_line = 0;  // 0 when the buffer holds the whole text; else the line that did not fit
};

// The ten states of the machine, each with its number 0 to 9.
enum class ParserState {
    outside = 0,           // no file name in progress
    comment = 1,           // up to the line end
    option = 2,            // the letter after a hyphen-minus
    definition_word = 3,   // the word after a number sign
    definition_value = 4,  // the decimal value of a definition
    mime_type = 5,         // the identifier after t
    visibility = 6,        // the identifier after c
    target_address = 7,    // hexadecimal digits after a percent sign
    file_name = 8,         // a file name in progress
    after_name = 9,        // after a file name or an option
};

enum class EntryStatus {
    entry,          // fd is open on the entry's file; the caller closes it
    file_missing,   // the entry's file cannot be opened
    end_of_list,    // the control file is exhausted; OPT_END_OF_LIST is set in the flags
    over_capacity,  // a text that is used exceeds its capacity: limit and line say which
};

// The capacities of the control file, each a limit of one of its texts.
enum class ControlLimit {
    none,
    definitions,      // more than MAX_DEFINITIONS definitions
    definition_name,  // a definition name longer than 255 characters
    number,           // a number longer than 255 characters
    path,             // a path longer than 126 characters
    mime,             // a MIME-type identifier longer than 31 characters
    visibility,       // a visibility identifier longer than 127 characters
};

struct ControlEntry {
    EntryStatus status = EntryStatus::end_of_list;
    int fd = -1;
    int error = 0;  // file_missing: errno of the failed open, for the line on standard error
    ControlLimit limit = ControlLimit::none;  // over_capacity: the limit exceeded
    unsigned line = 0;                        // over_capacity: the line that exceeds it
};

// Reads on to the line end after the next entry. The entry's path, MIME-type
// and visibility identifiers land in entry and its options in flags. The
// entry's file is opened here, in the current folder, '?' read as '-' (see
// opened_name); nothing is printed.
ControlEntry next_control_entry(ControlFile& control, ControlSettings& settings, std::uint32_t& flags,
                                EntryBuffers& entry);

// Value of the first definition named exactly so; 0 when there is none.
std::int32_t lookup_definition(const ControlSettings& settings, const char* name);

// Unchecked decimal and hexadecimal number readers of the control file.
std::int32_t parse_decimal(const char* text);
std::uint32_t parse_hex(const char* text);

// Whether the readers above read text as it is written: only decimal digits
// up to 2147483647; only hex digits, at most eight after leading zeros.
bool decimal_as_written(const char* text);
bool hex_as_written(const char* text);
