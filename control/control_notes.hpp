// Text of the control file read otherwise than it was written. The parser
// notes each cause once a reading, with its line and the text concerned;
// the program that reads the file prints the warning, in its own name, with
// the words describe_control_note gives.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

enum class ControlNote {
    unknown_option,      // a hyphen-minus and a letter that names no option: skipped
    identifier_dropped,  // -t or -c and a blank: no identifier is set, the default stays
    name_without_entry,  // a name with a full stop meets the line end or // with no blank after it
    option_glued,        // a hyphen-minus right after a name: the name is dropped, the option read
    blank_in_name,       // a blank before a name's full stop is dropped: the parts open as one name
    name_without_stop,   // a name without a full stop and a blank: the line gives no entry
    entry_dropped,       // the line end of an entry was read inside a value: the next file replaces it
    decimal_misread,     // a definition value with a byte that is no decimal digit, or beyond 31 bits
    address_misread,     // a target address with a byte that is no hex digit, or beyond eight digits
};
constexpr std::size_t CONTROL_NOTE_KINDS = 9;

constexpr std::size_t NOTE_TEXT_SIZE = 48;  // the text concerned, clipped: enough to find it in the file

struct NoteAt {
    unsigned line = 0;  // 0: not noted (yet)
    char letter = 0;    // the option letter
    bool taken = false; // handed to the program already
    std::array<char, NOTE_TEXT_SIZE> text{};  // the name or the number as written
    std::uint32_t value = 0;                  // what a number was read as
};

using ControlNotes = std::array<NoteAt, CONTROL_NOTE_KINDS>;

// Notes cause at line unless it was noted before; text (length bytes, not
// NUL-terminated) is clipped to what NoteAt holds.
void control_note(ControlNotes& notes, ControlNote cause, unsigned line, char letter, const char* text = nullptr,
                  std::size_t length = 0, std::uint32_t value = 0);

// Hands out the next note not handed out yet; false when there is none.
bool take_control_note(ControlNotes& notes, ControlNote& cause, NoteAt& at);

// What the warning says, without the program's name and the place: the
// text written to out, NUL-terminated and clipped to it.
void describe_control_note(ControlNote cause, const NoteAt& at, std::span<char> out);
