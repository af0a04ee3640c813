#include "control/control_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "control/control_call.hpp"
#include "io/file_access.hpp"
#include "control/run_flags.hpp"

namespace {

// The path buffer must also hold the array name made from it, one longer.
constexpr std::size_t MAX_PATH_CHARS = PATH_BUFFER_SIZE - 2;

// Only an entry whose file is open holds a descriptor that must be closed.
void close_opened(EntryCall& call)
{
    if (call.opened && call.opened_fd >= 0) {
        ::close(call.opened_fd);
    }
    call.opened = false;
    call.opened_fd = -1;
}

// The bitmap writer names its next array after this text; a text that did
// not fit is remembered by its line so that a use of it can be refused.
void copy_to_array_name(EntryCall& call, std::size_t length)
{
    ControlSettings& settings = call.settings;
    bool whole = copy_clipped(settings.array_name, call.token.text.data(), length);
    settings.array_name_overflow_line = whole ? 0 : call.control.line;
}

bool hand_out_entry(EntryCall& call)
{
    if (call.mime_overflow_line != 0) {
        return stop_over_capacity(call, ControlLimit::mime, call.mime_overflow_line);
    }
    if (call.visibility_overflow_line != 0) {
        return stop_over_capacity(call, ControlLimit::visibility, call.visibility_overflow_line);
    }
    call.returned = call.opened_fd >= 0 ? ControlEntry{EntryStatus::entry, call.opened_fd}
                                        : ControlEntry{EntryStatus::file_missing, -1, call.open_error};
    return true;
}

// State 8, blank or tab: the token is a file name.
bool open_entry_file(EntryCall& call)
{
    Token& token = call.token;
    if (token.length > MAX_PATH_CHARS) {
        return stop_over_capacity(call, ControlLimit::path, call.control.line);
    }
    char* name = token_terminated(token);
    if (call.opened && call.opened_line != call.control.line) {
        control_note(call.control.notes, ControlNote::entry_dropped, call.opened_line, 0, call.entry.path.data(),
                     std::strlen(call.entry.path.data()));
    }
    if (token.joined) {
        note_text(call, ControlNote::blank_in_name, name, token.length);
    }
    std::memcpy(call.entry.path.data(), name, token.length + 1);
    // A question mark stands for a hyphen-minus on disk, which could not be
    // written in the name because it would start an option.
    std::replace(name, name + token.length, '?', '-');
    // Only the last file opened before the line end is the entry.
    close_opened(call);
    call.opened = true;
    call.opened_line = call.control.line;
    call.opened_fd = call.control.first_pass ? -1 : open_input(name);
    call.open_error = errno;
    token_reset(token);
    call.state = ParserState::after_name;
    return false;
}

// A line that opened no file, at its end or its comment: a name the parser
// was reading, or words it read as one, are noted.
void note_line_without_entry(EntryCall& call, std::size_t length)
{
    Token& token = call.token;
    if (call.opened || length == 0) {
        return;
    }
    if (call.state == ParserState::file_name) {
        note_text(call, ControlNote::name_without_entry, token.text.data(), length);
    } else if (token.joined) {
        note_text(call, ControlNote::name_without_stop, token.text.data(), token.blank_at);
    }
}

// Keeps a byte of a name; text after a dropped blank joins the words.
void keep_name_byte(Token& token, unsigned char byte)
{
    token.joined = token.joined || token.blank_at != 0;
    token_keep(token, byte);
}

// States 0, 8 and 9. Row order matters: the first matching test decides.
bool step_outside(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (byte == '/' && (token.length == 0 || token.last == '/')) {
        note_line_without_entry(call, token.length == 0 ? 0 : token.length - 1);
        copy_to_array_name(call, token.length == 0 ? 0 : token.length - 1);
        token_reset(token);
        call.state = ParserState::comment;
        return false;
    }
    if (byte == '#') {
        token_reset(token);
        call.state = ParserState::definition_word;
        return false;
    }
    if (is_line_end(byte)) {
        note_line_without_entry(call, token.length);
        copy_to_array_name(call, token.length);
        token_reset(token);
        return return_check(call);
    }
    if (byte == '-' && call.state != ParserState::outside) {
        if (call.state == ParserState::file_name && token.length > 0) {
            note_text(call, ControlNote::option_glued, token.text.data(), token.length);
        }
        call.state = ParserState::option;
        return false;
    }
    if (byte == '%') {
        call.state = ParserState::target_address;  // what was kept so far stays in front of the digits
        return false;
    }
    if (is_blank(byte)) {
        if (call.state == ParserState::file_name) {
            return open_entry_file(call);
        }
        if (token.blank_at == 0) {
            token.blank_at = token.length;
        }
        return false;
    }
    if (byte == '.') {
        keep_name_byte(token, byte);
        call.state = ParserState::file_name;
        return false;
    }
    if (byte == '|') {
        call.state = ParserState::file_name;
        return false;
    }
    keep_name_byte(token, byte);
    return false;
}

// Feeds one byte to the state machine; true when the call is to return
// call.returned.
bool step(EntryCall& call, unsigned char byte)
{
    switch (call.state) {
    case ParserState::comment:
        if (is_line_end(byte)) {
            call.state = ParserState::outside;
            return return_check(call);
        }
        return false;
    case ParserState::option: return step_option(call, byte);
    case ParserState::definition_word: return step_definition_word(call, byte);
    case ParserState::definition_value: return step_definition_value(call, byte);
    case ParserState::mime_type:
    case ParserState::visibility: return step_identifier(call, byte);
    case ParserState::target_address: return step_target_address(call, byte);
    case ParserState::outside:
    case ParserState::file_name:
    case ParserState::after_name: break;
    }
    return step_outside(call, byte);
}

}  // namespace

void token_keep(Token& token, unsigned char byte)
{
    if (token.length < TOKEN_STORED) {
        token.text[token.length] = static_cast<char>(byte);
    }
    ++token.length;
    token.last = static_cast<char>(byte);
}

void token_reset(Token& token)
{
    token.length = 0;
    token.blank_at = 0;
    token.joined = false;
}

void note_text(EntryCall& call, ControlNote cause, const char* text, std::size_t length, std::uint32_t value)
{
    control_note(call.control.notes, cause, call.control.line, 0, text, std::min(length, TOKEN_STORED), value);
}

char* token_terminated(Token& token)
{
    token.text[std::min(token.length, TOKEN_STORED)] = '\0';
    return token.text.data();
}

// No destination holds more than a token stores, so the part copied was
// always stored.
bool copy_clipped(std::span<char> dest, const char* text, std::size_t length)
{
    std::size_t fits = std::min(length, dest.size() - 1);
    std::memcpy(dest.data(), text, fits);
    dest[fits] = '\0';
    return fits == length;
}

// A file opened in the call is not handed out, so it is closed here.
bool stop_over_capacity(EntryCall& call, ControlLimit limit, unsigned line)
{
    close_opened(call);
    call.returned = {EntryStatus::over_capacity, -1, 0, limit, line};
    return true;
}

bool return_check(EntryCall& call)
{
    return call.opened && hand_out_entry(call);
}

ControlEntry next_control_entry(ControlFile& control, ControlSettings& settings, std::uint32_t& flags,
                                EntryBuffers& entry)
{
    flags &= ~(OPT_SQUEEZE_SPACE | OPT_INVERT | OPT_REVERSE_ROWS);
    copy_clipped(entry.mime, "MIME_HTML", 9);
    copy_clipped(entry.visibility, "FILE_VISIBLE", 12);
    if (control.entry_at_end) {
        flags |= OPT_END_OF_LIST;
        return {EntryStatus::end_of_list, -1};
    }
    EntryCall call{control, settings, flags, entry};
    unsigned char byte = 0;
    while (read_control_byte(control, byte)) {
        if (step(call, byte)) {
            return call.returned;
        }
    }
    if (!call.opened) {
        note_line_without_entry(call, call.token.length);
        flags |= OPT_END_OF_LIST;
        return {EntryStatus::end_of_list, -1};
    }
    // A last line without a line end still gives its entry: the end of the
    // file finishes the line as a line end would.
    control.entry_at_end = true;
    if (!step(call, '\n')) {
        hand_out_entry(call);
    }
    return call.returned;
}
