// One call of next_control_entry: the token being read, the state and the
// steps, shared by the two files of the state machine (control_file.cpp for
// names, lines and comments, control_values.cpp for options, definitions,
// identifiers and the target address). Not for use outside the parser.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "control/control_file.hpp"

// A token keeps counting past what it stores, so that a long text that is
// dropped (plain prose, a comment) never stops a run; only a text that is
// used is measured against the capacity of the place it goes to.
constexpr std::size_t TOKEN_SIZE = 256;
constexpr std::size_t TOKEN_STORED = TOKEN_SIZE - 1;  // room for the NUL

struct Token {
    std::array<char, TOKEN_SIZE> text{};
    std::size_t length = 0;  // bytes kept; may run beyond what text stores
    char last = 0;           // the byte kept last, for the double-slash test
    std::size_t blank_at = 0;  // length when a blank was first dropped after some text; 0: none
    bool joined = false;       // text was kept after that blank: two words read as one
};

// To keep a byte is to store it and advance; to reset is to start the next
// token; a byte that is neither kept is dropped (the next one overwrites it).
void token_keep(Token& token, unsigned char byte);
void token_reset(Token& token);
char* token_terminated(Token& token);  // NUL-terminated for the C-string readers

// Everything here starts afresh at each call.
struct EntryCall {
    ControlFile& control;
    ControlSettings& settings;
    std::uint32_t& flags;
    EntryBuffers& entry;
    Token token{};
    ParserState state = ParserState::outside;
    bool opened = false;     // a file has been opened in this call
    int opened_fd = -1;      // the last one; -1 when it could not be opened
    int open_error = 0;      // errno when it could not be
    unsigned opened_line = 0;  // the line it was opened on
    ControlEntry returned{};  // what the call hands back once a step ends it
    // Identifiers too long for their buffers are refused only when an entry
    // that carries them is returned; a later identifier that fits clears it.
    unsigned mime_overflow_line = 0;
    unsigned visibility_overflow_line = 0;
    // The definition whose value is being read: its name waits here so that
    // only definitions with a value ever reach the table.
    std::array<char, DEFINITION_NAME_SIZE> pending_name{};
    unsigned pending_name_overflow_line = 0;
};

constexpr bool is_blank(unsigned char byte)
{
    return byte == ' ' || byte == '\t';
}

// What ends a number or an identifier value.
constexpr bool ends_value(unsigned char byte)
{
    return is_blank(byte) || byte == '/' || is_line_end(byte);
}

// Notes that the text (length bytes) is read otherwise than written, at the
// current line.
void note_text(EntryCall& call, ControlNote cause, const char* text, std::size_t length, std::uint32_t value = 0);

// Copies text of the given length into a NUL-terminated buffer, as much as
// fits. Returns false when some of it did not fit.
bool copy_clipped(std::span<char> dest, const char* text, std::size_t length);

// Ends the call with the limit exceeded and its line.
// Returns true: the call is to return.
bool stop_over_capacity(EntryCall& call, ControlLimit limit, unsigned line);

// At a line end: true when the call is to return, once a file has been opened in it.
bool return_check(EntryCall& call);

// The steps of the value states; each returns true when the call is to return.
bool step_option(EntryCall& call, unsigned char byte);
bool step_definition_word(EntryCall& call, unsigned char byte);
bool step_definition_value(EntryCall& call, unsigned char byte);
bool step_identifier(EntryCall& call, unsigned char byte);
bool step_target_address(EntryCall& call, unsigned char byte);
