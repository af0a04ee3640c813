// The control-file language: a byte-by-byte state machine that yields one
// entry (an input file opened for reading) per call, and collects the
// definitions, the target address and the array name buffer on its way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Result while no file has been opened in the current call; no descriptor takes it.
constexpr int NO_ENTRY = 55555555;
// Returned after a capacity message has been printed (exit code 10 follows).
constexpr int CONTROL_OVER_CAPACITY = -10;

constexpr std::size_t MAX_DEFINITIONS = 64;
constexpr std::size_t DEFINITION_NAME_SIZE = 256;  // 255 characters and the NUL
constexpr std::size_t ARRAY_NAME_SIZE = 100;       // 99 characters and the NUL
constexpr std::size_t PATH_BUFFER_SIZE = 128;      // the array name made from it is one longer
constexpr std::size_t MIME_BUFFER_SIZE = 32;
constexpr std::size_t VISIBILITY_BUFFER_SIZE = 128;

// The control file as the parser reads it: text mode on every platform
// (CR LF reads as LF, a lone CR stays CR, 0x1A ends the file), buffered.
struct ControlFile {
    int fd = -1;
    std::array<unsigned char, 4096> chunk{};
    std::size_t chunk_pos = 0;
    std::size_t chunk_len = 0;
    bool at_end = false;      // end of file, 0x1A or a read error was met
    bool entry_at_end = false;  // an entry was returned at the end of the file; the next call ends the list
    bool line_ended = false;  // the byte delivered last was a line end: the next one starts a new line
    unsigned line = 1;        // line of the byte delivered last, for messages
};

void control_attach(ControlFile& control, int fd);

// Delivers the next byte of the control file as text mode reads it: a CR LF
// pair comes as one LF, a lone CR as CR. False at the end of the file, at a
// 0x1A byte or after a read error, and on every call after that.
bool read_control_byte(ControlFile& control, unsigned char& byte);

// Reads on to the line end after the next entry and returns the entry's open
// descriptor; a negative value when its file cannot be opened; -1 with
// OPT_END_OF_LIST set in flags at the end of the file; CONTROL_OVER_CAPACITY
// after printing a message when a text that is used exceeds its capacity.
int next_control_entry(ControlFile& control, std::uint32_t& flags,
                       std::span<char, PATH_BUFFER_SIZE> path,
                       std::span<char, MIME_BUFFER_SIZE> mime,
                       std::span<char, VISIBILITY_BUFFER_SIZE> visibility);

// Value of the first definition named exactly so; 0 when there is none.
std::int32_t lookup_definition(const char* name);

// Unchecked decimal and hexadecimal number readers of the control file.
std::int32_t parse_decimal(const char* text);
std::uint32_t parse_hex(const char* text);

// State kept for the whole run.
std::uint32_t control_target_address();
const char* control_array_name();              // the array name buffer, NUL-terminated
unsigned control_array_name_overflow_line();    // 0 when the buffer holds the whole text; else the line whose text did not fit
void control_clear_array_name();
void reset_control_state();                     // tests: definitions, target address and array name back to zero
