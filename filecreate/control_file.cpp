#include "control_file.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "file_access.hpp"
#include "file_read.hpp"
#include "run_flags.hpp"

namespace {

constexpr unsigned char CTRL_Z = 0x1A;  // DOS end-of-file mark: text ends there

// A token keeps counting past what it stores, so that a long text that is
// dropped (plain prose, a comment) never stops a run; only a text that is
// used is measured against the capacity of the place it goes to.
constexpr std::size_t TOKEN_SIZE = 256;
constexpr std::size_t TOKEN_STORED = TOKEN_SIZE - 1;  // room for the NUL
// The path buffer must also hold the array name made from it, one longer.
constexpr std::size_t MAX_PATH_CHARS = PATH_BUFFER_SIZE - 2;
constexpr std::size_t MAX_NUMBER_CHARS = TOKEN_STORED;

struct Definition {
    std::array<char, DEFINITION_NAME_SIZE> name{};
    std::int32_t value = 0;
};

// Run-wide state that the image writer and the bitmap writer read after or
// between calls of the parser.
std::array<Definition, MAX_DEFINITIONS> definitions;
std::size_t definition_count = 0;
std::uint32_t target_address = 0;
std::array<char, ARRAY_NAME_SIZE> array_name{};
unsigned array_name_overflow_line = 0;

struct Token {
    std::array<char, TOKEN_SIZE> text{};
    std::size_t length = 0;  // bytes kept; may run beyond what text stores
    char last = 0;           // the byte kept last, for the double-slash test
};

void keep(Token& token, unsigned char byte)
{
    if (token.length < TOKEN_STORED) {
        token.text[token.length] = static_cast<char>(byte);
    }
    ++token.length;
    token.last = static_cast<char>(byte);
}

void reset(Token& token)
{
    token.length = 0;
}

// NUL-terminates the token for the C-string readers (parse, open).
char* terminated(Token& token)
{
    token.text[std::min(token.length, TOKEN_STORED)] = '\0';
    return token.text.data();
}

// One call of next_control_entry: everything here starts afresh each call.
struct EntryCall {
    ControlFile& control;
    std::uint32_t& flags;
    std::span<char, PATH_BUFFER_SIZE> path;
    std::span<char, MIME_BUFFER_SIZE> mime;
    std::span<char, VISIBILITY_BUFFER_SIZE> visibility;
    Token token;
    int state = 0;
    int result = NO_ENTRY;
    int returned = NO_ENTRY;  // what the call hands back once a step ends it
    // Identifiers too long for their buffers are refused only when an entry
    // that carries them is returned; a later identifier that fits clears it.
    unsigned mime_overflow_line = 0;
    unsigned visibility_overflow_line = 0;
    // The definition whose value is being read: its name waits here so that
    // only definitions with a value ever reach the table.
    std::array<char, DEFINITION_NAME_SIZE> pending_name{};
    unsigned pending_name_overflow_line = 0;
};

bool is_blank(unsigned char byte)
{
    return byte == ' ' || byte == '\t';
}

bool is_line_end(unsigned char byte)
{
    return byte == '\n' || byte == '\r';
}

// What ends a number or an identifier value.
bool ends_value(unsigned char byte)
{
    return is_blank(byte) || byte == '/' || is_line_end(byte);
}

bool has_open_file(int result)
{
    return result >= 0 && result != NO_ENTRY;
}

// Copies text of the given length into a NUL-terminated buffer, as much as
// fits. Returns false when some of it did not fit. No destination holds
// more than a token stores, so the part copied was always stored.
bool copy_clipped(std::span<char> dest, const char* text, std::size_t length)
{
    std::size_t fits = std::min(length, dest.size() - 1);
    std::memcpy(dest.data(), text, fits);
    dest[fits] = '\0';
    return fits == length;
}

// The bitmap writer names its next array after this text; a text that did
// not fit is remembered by its line so that a use of it can be refused.
void copy_to_array_name(const Token& token, std::size_t length, unsigned line)
{
    bool whole = copy_clipped(array_name, token.text.data(), length);
    array_name_overflow_line = whole ? 0 : line;
}

// Stops the call with a capacity message; a file opened in it is not handed
// out, so it is closed here.
bool stop_over_capacity(EntryCall& call, const char* format, unsigned line)
{
    std::printf(format, line);
    if (has_open_file(call.result)) {
        ::close(call.result);
    }
    call.result = NO_ENTRY;
    call.returned = CONTROL_OVER_CAPACITY;
    return true;
}

bool hand_out_entry(EntryCall& call)
{
    if (call.mime_overflow_line != 0) {
        return stop_over_capacity(
            call, "Control file line %u: MIME-type identifier longer than 31 characters. Terminating\n\n",
            call.mime_overflow_line);
    }
    if (call.visibility_overflow_line != 0) {
        return stop_over_capacity(
            call, "Control file line %u: visibility identifier longer than 127 characters. Terminating\n\n",
            call.visibility_overflow_line);
    }
    call.returned = call.result;
    return true;
}

// At a line end: the call ends once a file has been opened in it.
bool return_check(EntryCall& call)
{
    return call.result != NO_ENTRY && hand_out_entry(call);
}

bool open_entry_file(EntryCall& call)
{
    Token& token = call.token;
    if (token.length > MAX_PATH_CHARS) {
        return stop_over_capacity(call, "Control file line %u: path longer than 126 characters. Terminating\n\n",
                                  call.control.line);
    }
    char* name = terminated(token);
    std::memcpy(call.path.data(), name, token.length + 1);
    // A question mark stands for a hyphen-minus on disk, which could not be
    // written in the name because it would start an option.
    std::replace(name, name + token.length, '?', '-');
    // Only the last file opened before the line end is the entry.
    if (has_open_file(call.result)) {
        ::close(call.result);
    }
    call.result = open_input(name);
    reset(token);
    call.state = 9;
    return false;
}

// States 0 (nothing yet), 8 (a file name in progress) and 9 (after a file
// name or an option). Row order matters: the first matching test decides.
bool step_outside(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    unsigned line = call.control.line;
    if (byte == '/' && (token.length == 0 || token.last == '/')) {
        copy_to_array_name(token, token.length == 0 ? 0 : token.length - 1, line);
        reset(token);
        call.state = 1;
        return false;
    }
    if (byte == '#') {
        reset(token);
        call.state = 3;
        return false;
    }
    if (is_line_end(byte)) {
        copy_to_array_name(token, token.length, line);
        reset(token);
        return return_check(call);
    }
    if (byte == '-' && call.state != 0) {
        call.state = 2;
        return false;
    }
    if (byte == '%') {
        call.state = 7;  // what was kept so far stays in front of the digits
        return false;
    }
    if (is_blank(byte)) {
        return call.state == 8 && open_entry_file(call);
    }
    if (byte == '.') {
        keep(token, byte);
        call.state = 8;
        return false;
    }
    if (byte == '|') {
        call.state = 8;
        return false;
    }
    keep(token, byte);
    return false;
}

bool step_option(EntryCall& call, unsigned char byte)
{
    if (is_blank(byte)) {
        return false;
    }
    reset(call.token);
    switch (byte) {
    case 'w': case 'W': call.flags |= OPT_SQUEEZE_SPACE; call.state = 9; break;
    case 'n': case 'N': call.flags |= OPT_INVERT; call.state = 9; break;
    case 'i': case 'I': call.flags |= OPT_REVERSE_ROWS; call.state = 9; break;
    case '?': call.flags |= OPT_PARAMETER_NAME; call.state = 0; break;
    case 't': case 'T': call.state = 5; break;
    case 'c': case 'C': call.state = 6; break;
    default: call.state = 0; break;
    }
    return false;
}

bool step_definition_word(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!is_blank(byte)) {
        keep(token, byte);  // a line end too: a name runs on into the next line
        return false;
    }
    if (token.length == 0) {
        return false;
    }
    // The word define is only skipped: any other first word is the name.
    bool is_define = token.length == 6 && std::memcmp(token.text.data(), "define", 6) == 0;
    if (!is_define) {
        bool whole = copy_clipped(call.pending_name, token.text.data(), token.length);
        call.pending_name_overflow_line = whole ? 0 : call.control.line;
        call.state = 4;
    }
    reset(token);
    return false;
}

bool step_definition_value(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        keep(token, byte);
        return false;
    }
    if (token.length == 0) {
        return false;
    }
    unsigned line = call.control.line;
    if (definition_count == MAX_DEFINITIONS) {
        return stop_over_capacity(call, "Control file line %u: more than 64 definitions. Terminating\n\n", line);
    }
    if (call.pending_name_overflow_line != 0) {
        return stop_over_capacity(
            call, "Control file line %u: definition name longer than 255 characters. Terminating\n\n",
            call.pending_name_overflow_line);
    }
    if (token.length > MAX_NUMBER_CHARS) {
        return stop_over_capacity(call, "Control file line %u: number longer than 255 characters. Terminating\n\n",
                                  line);
    }
    Definition& entry = definitions[definition_count];
    entry.name = call.pending_name;
    entry.value = parse_decimal(terminated(token));
    ++definition_count;
    reset(token);
    call.state = 0;
    return false;
}

// States 5 and 6: the byte after t or c is a separator and never part of
// the identifier. Without it the entry keeps the identifier it had.
bool step_identifier(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        keep(token, byte);
        return false;
    }
    if (token.length > 0) {
        std::span<char> dest = call.state == 5 ? std::span<char>(call.mime) : std::span<char>(call.visibility);
        unsigned& overflow = call.state == 5 ? call.mime_overflow_line : call.visibility_overflow_line;
        std::size_t length = token.length - 1;
        bool whole = copy_clipped(dest, token.text.data() + 1, length);
        overflow = whole ? 0 : call.control.line;
    }
    reset(token);
    call.state = 9;
    // The array name buffer keeps its content at a line end inside a value.
    return is_line_end(byte) && return_check(call);
}

bool step_target_address(EntryCall& call, unsigned char byte)
{
    Token& token = call.token;
    if (!ends_value(byte)) {
        keep(token, byte);
        return false;
    }
    if (token.length > MAX_NUMBER_CHARS) {
        return stop_over_capacity(call, "Control file line %u: number longer than 255 characters. Terminating\n\n",
                                  call.control.line);
    }
    target_address = parse_hex(terminated(token));
    reset(token);
    call.state = 0;
    return false;
}

// Feeds one byte to the state machine; true when the call is to return
// call.returned.
bool step(EntryCall& call, unsigned char byte)
{
    switch (call.state) {
    case 1:
        if (is_line_end(byte)) {
            call.state = 0;
            return return_check(call);
        }
        return false;
    case 2: return step_option(call, byte);
    case 3: return step_definition_word(call, byte);
    case 4: return step_definition_value(call, byte);
    case 5:
    case 6: return step_identifier(call, byte);
    case 7: return step_target_address(call, byte);
    default: return step_outside(call, byte);
    }
}

// Makes sure an unread byte waits in the chunk; false at the end.
bool fill_chunk(ControlFile& control)
{
    if (control.chunk_pos < control.chunk_len) {
        return true;
    }
    while (!control.at_end) {
        ssize_t got = read_some(control.fd, control.chunk.data(), control.chunk.size());
        if (got <= 0) {
            control.at_end = true;
            break;
        }
        control.chunk_pos = 0;
        control.chunk_len = static_cast<std::size_t>(got);
        return true;
    }
    return false;
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

int next_control_entry(ControlFile& control, std::uint32_t& flags, std::span<char, PATH_BUFFER_SIZE> path,
                       std::span<char, MIME_BUFFER_SIZE> mime, std::span<char, VISIBILITY_BUFFER_SIZE> visibility)
{
    flags &= ~(OPT_SQUEEZE_SPACE | OPT_INVERT | OPT_REVERSE_ROWS);
    copy_clipped(mime, "MIME_HTML", 9);
    copy_clipped(visibility, "FILE_VISIBLE", 12);
    if (control.entry_at_end) {
        flags |= OPT_END_OF_LIST;
        return -1;
    }
    EntryCall call{control, flags, path, mime, visibility, {}};
    unsigned char byte = 0;
    while (read_control_byte(control, byte)) {
        if (step(call, byte)) {
            return call.returned;
        }
    }
    if (call.result == NO_ENTRY) {
        flags |= OPT_END_OF_LIST;
        return -1;
    }
    // A last line without a line end still gives its entry: the end of the
    // file finishes the line as a line end would.
    control.entry_at_end = true;
    if (!step(call, '\n')) {
        hand_out_entry(call);
    }
    return call.returned;
}

std::int32_t lookup_definition(const char* name)
{
    if (name == nullptr) {
        return 0;
    }
    for (std::size_t i = 0; i < definition_count; ++i) {
        if (std::strcmp(definitions[i].name.data(), name) == 0) {
            return definitions[i].value;
        }
    }
    return 0;
}

// Every byte counts as a digit, the wrap-around is part of the format, so
// unsigned arithmetic gives the historical values without overflow.
std::int32_t parse_decimal(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        auto digit = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)) - 48);
        value = value * 10u + digit;
    }
    return static_cast<std::int32_t>(value);
}

std::uint32_t parse_hex(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        auto digit = static_cast<std::uint8_t>(static_cast<unsigned char>(*p) - 0x30);
        if (digit > 9) {
            digit = static_cast<std::uint8_t>(digit - 0x27);  // a-f
        }
        if (digit > 15) {
            digit = static_cast<std::uint8_t>(digit + 0x20);  // A-F
        }
        value = (value << 4) | digit;
    }
    return value;
}

std::uint32_t control_target_address()
{
    return target_address;
}

const char* control_array_name()
{
    return array_name.data();
}

unsigned control_array_name_overflow_line()
{
    return array_name_overflow_line;
}

void control_clear_array_name()
{
    array_name[0] = '\0';
    array_name_overflow_line = 0;
}

void reset_control_state()
{
    definitions = {};
    definition_count = 0;
    target_address = 0;
    control_clear_array_name();
}
