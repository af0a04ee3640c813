// The value states of the control-file machine: option letters, definitions,
// the t and c identifiers and the target address.
#include <cstring>

#include "control/control_call.hpp"
#include "control/run_flags.hpp"

namespace {

constexpr std::size_t MAX_NUMBER_CHARS = TOKEN_STORED;

}  // namespace

// State 2: one letter after the hyphen-minus; blanks before it are skipped.
bool step_option(EntryCall& call, unsigned char byte)
{
    if (is_blank(byte)) {
        return false;
    }
    token_reset(call.token);
    switch (byte) {
    case 'w': case 'W': call.flags |= OPT_SQUEEZE_SPACE; call.state = ParserState::after_name; break;
    case 'n': case 'N': call.flags |= OPT_INVERT; call.state = ParserState::after_name; break;
    case 'i': case 'I': call.flags |= OPT_REVERSE_ROWS; call.state = ParserState::after_name; break;
    case '?': call.flags |= OPT_PARAMETER_NAME; call.state = ParserState::outside; break;
    case 't': case 'T': call.state = ParserState::mime_type; break;
    case 'c': case 'C': call.state = ParserState::visibility; break;
    default:
        if (!is_line_end(byte)) {
            control_note(call.control.notes, ControlNote::unknown_option, call.control.line, static_cast<char>(byte));
        }
        call.state = ParserState::outside;
        break;
    }
    return false;
}

// State 3: the word define is only skipped; any other first word is the name.
bool step_definition_word(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!is_blank(byte)) {
        token_keep(token, byte);  // a line end too: a name runs on into the next line
        return false;
    }
    if (token.length == 0) {
        return false;
    }
    bool is_define = token.length == 6 && std::memcmp(token.text.data(), "define", 6) == 0;
    if (!is_define) {
        bool whole = copy_clipped(call.pending_name, token.text.data(), token.length);
        call.pending_name_overflow_line = whole ? 0 : call.control.line;
        call.state = ParserState::definition_value;
    }
    token_reset(token);
    return false;
}

// State 4: line ends before the first digit are skipped, so a value may
// follow on a later line.
bool step_definition_value(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        token_keep(token, byte);
        return false;
    }
    if (token.length == 0) {
        return false;
    }
    ControlSettings& settings = call.settings;
    unsigned line = call.control.line;
    if (settings.definition_count == MAX_DEFINITIONS) {
        return stop_over_capacity(call, ControlLimit::definitions, line);
    }
    if (call.pending_name_overflow_line != 0) {
        return stop_over_capacity(call, ControlLimit::definition_name, call.pending_name_overflow_line);
    }
    if (token.length > MAX_NUMBER_CHARS) {
        return stop_over_capacity(call, ControlLimit::number, line);
    }
    Definition& entry = settings.definitions[settings.definition_count];
    entry.name = call.pending_name;
    const char* text = token_terminated(token);
    entry.value = parse_decimal(text);
    if (!decimal_as_written(text)) {
        note_text(call, ControlNote::decimal_misread, text, token.length, static_cast<std::uint32_t>(entry.value));
    }
    ++settings.definition_count;
    token_reset(token);
    call.state = ParserState::outside;
    return false;
}

// States 5 and 6: the byte after t or c is a separator and never part of
// the identifier. Without it the entry keeps the identifier it had.
bool step_identifier(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        token_keep(token, byte);
        return false;
    }
    if (token.length == 0 && is_blank(byte)) {
        control_note(call.control.notes, ControlNote::identifier_dropped, call.control.line,
                     call.state == ParserState::mime_type ? 't' : 'c');
    }
    if (token.length > 0) {
        bool mime = call.state == ParserState::mime_type;
        std::span<char> dest = mime ? std::span<char>(call.entry.mime) : std::span<char>(call.entry.visibility);
        unsigned& overflow = mime ? call.mime_overflow_line : call.visibility_overflow_line;
        bool whole = copy_clipped(dest, token.text.data() + 1, token.length - 1);
        overflow = whole ? 0 : call.control.line;
    }
    token_reset(token);
    call.state = ParserState::after_name;
    // The array name buffer keeps its content at a line end inside a value.
    return is_line_end(byte) && return_check(call);
}

// State 7: the last target address line counts.
bool step_target_address(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        token_keep(token, byte);
        return false;
    }
    if (token.length > MAX_NUMBER_CHARS) {
        return stop_over_capacity(call, ControlLimit::number, call.control.line);
    }
    const char* text = token_terminated(token);
    call.settings.target_address = parse_hex(text);
    if (!hex_as_written(text)) {
        note_text(call, ControlNote::address_misread, text, token.length, call.settings.target_address);
    }
    token_reset(token);
    call.state = ParserState::outside;
    return false;
}
