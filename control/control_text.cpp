#include "control/control_text.hpp"

#include "io/file_read.hpp"

namespace {

constexpr unsigned char CTRL_Z = 0x1A;  // DOS end-of-file mark: text ends there

// Makes sure an unread byte waits in the chunk; false at the end.
bool fill_chunk(ControlFile& control)
{
    if (control.chunk_pos < control.chunk_len) {
        return true;
    }
    if (control.at_end) {
        return false;
    }
    ssize_t got = read_some(control.fd, control.chunk.data(), control.chunk.size());
    if (got <= 0) {
        control.at_end = true;
        return false;
    }
    control.chunk_pos = 0;
    control.chunk_len = static_cast<std::size_t>(got);
    return true;
}

}  // namespace

void control_attach(ControlFile& control, int fd)
{
    control.fd = fd;
    control.chunk_pos = 0;
    control.chunk_len = 0;
    control.at_end = false;
    control.entry_at_end = false;
    control.line_ended = false;
    control.line = 1;
    control.first_pass = false;
    control.notes = {};
}

bool read_control_byte(ControlFile& control, unsigned char& byte)
{
    if (!fill_chunk(control)) {
        return false;
    }
    unsigned char next = control.chunk[control.chunk_pos++];
    if (next == CTRL_Z) {
        control.at_end = true;
        control.chunk_pos = control.chunk_len;
        return false;
    }
    // The LF of a pair may be the first byte of the next chunk.
    if (next == '\r' && fill_chunk(control) && control.chunk[control.chunk_pos] == '\n') {
        ++control.chunk_pos;
        next = '\n';
    }
    if (control.line_ended) {
        ++control.line;
    }
    control.line_ended = is_line_end(next);
    byte = next;
    return true;
}
