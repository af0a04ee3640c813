#include "formats/upload_arguments.hpp"

#include <cstdio>
#include <cstring>

namespace {

bool is_hex_digit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

ArgumentNote* add_note(ArgumentReading& reading, const ArgumentNote& note)
{
    if (reading.note_count == reading.notes.size()) {
        return nullptr;  // not reached: two kinds for each of five arguments
    }
    reading.notes[reading.note_count] = note;
    return &reading.notes[reading.note_count++];
}

// Notes the characters from..from+digits of text that are read as hex digits
// but are none; the caller adds what the field reads as.
ArgumentNote* note_not_hex(ArgumentReading& reading, int argument, const char* text, std::size_t from,
                           std::size_t digits)
{
    ArgumentNote note;
    note.argument = argument;
    for (std::size_t i = from; i < from + digits; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!is_hex_digit(c)) {
            if (note.count++ == 0) {
                note.position = i + 1;
                note.character = c;
            }
        }
    }
    return note.count == 0 ? nullptr : add_note(reading, note);
}

void note_past_field(ArgumentReading& reading, int argument, std::size_t ignored)
{
    if (ignored > 0) {
        ArgumentNote note;
        note.kind = ArgumentNoteKind::past_field;
        note.argument = argument;
        note.count = ignored;
        add_note(reading, note);
    }
}

// Checks an argument of hex digit pairs and takes up to 100 bytes from it.
// A fault when it is empty or ends in a lone digit before 100 bytes are
// held; digits after the 100th byte are not looked at.
ArgumentFault take_bytes(const char* text, ByteList& list, ArgumentReading& reading, int argument)
{
    std::size_t digits = std::strlen(text);
    if (digits == 0) {
        return ArgumentFault::empty;
    }
    digits -= 1;
    const std::size_t pairs = digits / 2;
    if (pairs < ARGUMENT_BYTES_MAX && digits % 2 != 0) {
        return ArgumentFault::odd_digits;
    }
    list.count = static_cast<std::uint32_t>(pairs < ARGUMENT_BYTES_MAX ? pairs : ARGUMENT_BYTES_MAX);
    for (std::uint32_t i = 0; i < list.count; ++i) {
        list.bytes[i] = static_cast<unsigned char>(parse_hex_digits(text + 1 + 2 * i, 2));
    }
    if (ArgumentNote* note = note_not_hex(reading, argument, text, 1, 2 * list.count)) {
        note->byte = static_cast<std::uint32_t>(note->position / 2);
        note->value = list.bytes[note->byte - 1];
    }
    note_past_field(reading, argument, digits - 2 * list.count);
    return ArgumentFault::none;
}

// Reads argument 6 or 7: four hex digits after the first character.
ArgumentFault take_word(const char* text, std::uint16_t& value, ArgumentReading& reading, int argument)
{
    const std::size_t length = std::strlen(text);
    if (length < 5) {
        return ArgumentFault::word_short;
    }
    value = parse_hex_digits(text + 1, 4);
    if (ArgumentNote* note = note_not_hex(reading, argument, text, 1, 4)) {
        note->value = value;
    }
    note_past_field(reading, argument, length - 5);
    return ArgumentFault::none;
}

void read_keyed(std::span<const char* const> args, ConvertRequest& request, ArgumentReading& reading)
{
    request.keyed = true;
    for (std::size_t i = 2; i < args.size() && i < 5 && reading.fault == ArgumentFault::none; ++i) {
        const int argument = static_cast<int>(i) + 3;
        reading.fault = i == 2 ? take_bytes(args[i], request.keys, reading, argument)
                               : take_word(args[i], i == 3 ? request.seed : request.rotation, reading, argument);
        reading.argument = argument;
    }
}

// The words for what a field reads as: the value named by the argument number.
constexpr const char* FIELD_NAMES[] = {"the magic", "CRC suffix byte", "key byte", "the key-stream seed",
                                       "the rotation length"};

}  // namespace

std::uint16_t parse_hex_digits(const char* text, int count)
{
    unsigned value = 0;
    for (int i = 0; i < count; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        unsigned nibble = (c >= '0' && c <= '9') ? c - '0' : (c + 9u) % 16u;
        value = ((value << 4) | nibble) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(value);
}

ArgumentReading read_upload_arguments(std::span<const char* const> args, ConvertRequest& request)
{
    ArgumentReading reading;
    if (args.empty()) {
        reading.fault = ArgumentFault::mode_missing;
        reading.argument = 3;
        return reading;
    }
    const char* mode = args[0];
    request.plain = mode[0] == '-' && mode[1] == 'b';
    if (request.plain) {
        return reading;  // arguments 4 to 7 are not examined
    }
    const std::size_t length = std::strlen(mode);
    if (length < 7) {
        reading.fault = ArgumentFault::magic_short;
        reading.argument = 3;
        return reading;
    }
    request.magic = parse_hex_digits(mode + 3, 4);
    if (ArgumentNote* note = note_not_hex(reading, 3, mode, 3, 4)) {
        note->value = request.magic;
    }
    note_past_field(reading, 3, length - 7);
    if (args.size() > 1) {
        reading.fault = take_bytes(args[1], request.suffix, reading, 4);
        reading.argument = 4;
    }
    if (args.size() > 2 && reading.fault == ArgumentFault::none) {
        read_keyed(args, request, reading);
    }
    if (reading.fault == ArgumentFault::none) {
        reading.argument = 0;
    }
    return reading;
}

std::array<char, ARGUMENT_NOTE_TEXT_SIZE> describe_argument_note(const ArgumentNote& note)
{
    std::array<char, ARGUMENT_NOTE_TEXT_SIZE> text{};
    const bool bytes = note.argument == 4 || note.argument == 5;
    const char* field = FIELD_NAMES[note.argument - 3];
    if (note.kind == ArgumentNoteKind::past_field) {
        const char* plural = note.count == 1 ? "" : "s";
        const char* verb = note.count == 1 ? "it is" : "they are";
        if (bytes) {
            std::snprintf(text.data(), text.size(),
                          "argument %d has %zu character%s after the 200 hex digits of its 100 %ss; %s not read",
                          note.argument, note.count, plural, field, verb);
        } else {
            std::snprintf(text.data(), text.size(), "argument %d has %zu character%s after the four hex digits of %s; "
                          "%s not read", note.argument, note.count, plural, field, verb);
        }
        return text;
    }
    // A character that would not show as itself is named by its code.
    char shown[16];
    if (note.character > ' ' && note.character < 0x7F) {
        std::snprintf(shown, sizeof shown, "%c", note.character);
    } else {
        std::snprintf(shown, sizeof shown, note.character == ' ' ? "a blank" : "byte 0x%02X", note.character);
    }
    char more[48] = "";
    if (note.count > 1) {
        std::snprintf(more, sizeof more, ", and %zu more like it", note.count - 1);
    }
    const char c = static_cast<char>(note.character);
    char reads[48];
    if (bytes) {
        std::snprintf(reads, sizeof reads, "%s %u reads 0x%02X", field, static_cast<unsigned>(note.byte), note.value);
    } else {
        std::snprintf(reads, sizeof reads, "%s reads 0x%04X", field, note.value);
    }
    std::snprintf(text.data(), text.size(), "argument %d has %s where a hex digit belongs (character %zu%s), read as %X, "
                  "so %s", note.argument, shown, note.position, more, parse_hex_digits(&c, 1), reads);
    return text;
}
