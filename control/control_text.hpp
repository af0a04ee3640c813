// The control file as its parser reads it: text mode on every platform
// (a CR LF pair reads as LF, a lone CR stays CR, the byte 0x1A ends the
// file), through a small chunk, with the line number kept for messages.
#pragma once

#include <array>
#include <cstddef>

#include "control/control_notes.hpp"

struct ControlFile {
    int fd = -1;
    std::array<unsigned char, 4096> chunk;  // read only as far as it has been filled
    std::size_t chunk_pos = 0;
    std::size_t chunk_len = 0;
    bool at_end = false;        // end of file, 0x1A or a read error was met
    bool entry_at_end = false;  // an entry was returned at the end of the file; the next call ends the list
    bool line_ended = false;    // the byte delivered last was a line end: the next one starts a new line
    unsigned line = 1;          // line of the byte delivered last, for messages
    // A look at the entries before the run creates its outputs: the parser
    // opens no entry (each is handed out as missing).
    bool first_pass = false;
    ControlNotes notes{};
};

// Starts reading fd from its current position, for the run proper.
void control_attach(ControlFile& control, int fd);

// Delivers the next byte of the control file as text mode reads it. False at
// the end of the file, at a 0x1A byte or after a read error, and on every
// call after that.
bool read_control_byte(ControlFile& control, unsigned char& byte);

constexpr bool is_line_end(unsigned char byte)
{
    return byte == '\n' || byte == '\r';
}
