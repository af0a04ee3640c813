#include "control/control_notes.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

void control_note(ControlNotes& notes, ControlNote cause, unsigned line, char letter, const char* text,
                  std::size_t length, std::uint32_t value)
{
    NoteAt& at = notes[static_cast<std::size_t>(cause)];
    if (at.line != 0) {
        return;
    }
    at.line = line;
    at.letter = letter;
    at.value = value;
    std::size_t kept = std::min(length, at.text.size() - 1);
    if (kept > 0) {
        std::memcpy(at.text.data(), text, kept);
    }
    at.text[kept] = '\0';
}

bool take_control_note(ControlNotes& notes, ControlNote& cause, NoteAt& at)
{
    // In the order of their lines, as the file reads.
    NoteAt* first = nullptr;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        NoteAt& note = notes[i];
        if (note.line != 0 && !note.taken && (first == nullptr || note.line < first->line)) {
            first = &note;
            cause = static_cast<ControlNote>(i);
        }
    }
    if (first == nullptr) {
        return false;
    }
    first->taken = true;
    at = *first;
    return true;
}

void describe_control_note(ControlNote cause, const NoteAt& at, std::span<char> out)
{
    const char* text = at.text.data();
    char* to = out.data();
    const std::size_t size = out.size();
    switch (cause) {
    case ControlNote::unknown_option:
        std::snprintf(to, size, "-%c is no option, so it is skipped", at.letter);
        break;
    case ControlNote::identifier_dropped:
        std::snprintf(to, size, "a blank follows -%c, so it sets no identifier and the default stays (write -%c=NAME)",
                      at.letter, at.letter);
        break;
    case ControlNote::name_without_entry:
        std::snprintf(to, size, "%s gives no entry: no blank follows the name (write a blank after it)", text);
        break;
    case ControlNote::option_glued:
        std::snprintf(to, size, "an option follows %s without a blank, so that name is not opened (write a blank "
                      "before the -)", text);
        break;
    case ControlNote::blank_in_name:
        std::snprintf(to, size, "a blank inside a file name is dropped, so %s is opened", text);
        break;
    case ControlNote::name_without_stop:
        std::snprintf(to, size, "the blank after %s is dropped and the line opens no file: a name without a full "
                      "stop needs | after it (%s|)", text, text);
        break;
    case ControlNote::entry_dropped:
        std::snprintf(to, size, "%s gives no entry: its line ends inside a definition, a target address or an "
                      "option, so the next file replaces it", text);
        break;
    case ControlNote::decimal_misread:
        std::snprintf(to, size, "the definition value %s is read as %ld: write decimal digits only, at most "
                      "2147483647", text, static_cast<long>(static_cast<std::int32_t>(at.value)));
        break;
    case ControlNote::address_misread:
        std::snprintf(to, size, "the target address %s is read as 0x%08lX: write at most eight hex digits after %%",
                      text, static_cast<unsigned long>(at.value));
        break;
    }
}
