// The arguments 3 to 7 of a KorvaneConvert call: how the upload image is
// made (mode and magic, CRC suffix, key bytes, seed, rotation). KorvaneConvert
// reads them to make an image, KorvaneInspect to check one, so that the same
// strings mean the same bytes to both. Reading prints nothing: a fault comes
// back with the number of the argument, and each program words it; so does
// what was read otherwise than written (a note), which each program prints
// as a warning in the words of describe_argument_note.
//
//   3 mode and image magic      5 key bytes (optional, only after 4)
//   4 CRC suffix bytes          6 key-stream seed (optional, only after 5)
//     (optional, header mode)   7 rotation length (optional, only after 5)
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "formats/key_stream.hpp"

constexpr std::size_t ARGUMENT_BYTES_MAX = 100;  // suffix or key bytes taken from one argument
static_assert(ARGUMENT_BYTES_MAX <= KEY_BYTES_MAX);

// Bytes given as hex digit pairs after an argument's first character.
struct ByteList {
    std::array<unsigned char, ARGUMENT_BYTES_MAX> bytes{};
    std::uint32_t count = 0;
};

struct ConvertRequest {
    const char* input = nullptr;   // arguments 1 and 2: KorvaneConvert's files,
    const char* output = nullptr;  // or the image KorvaneInspect checks
    bool plain = false;  // argument 3 starts with "-b": the image alone, no header
    std::uint16_t magic = 0;
    ByteList suffix;
    bool keyed = false;  // argument 5 is there: encryption and the 10-byte header
    ByteList keys;
    std::uint16_t seed = 0;
    std::uint16_t rotation = 0;
};

enum class ArgumentFault {
    none,
    mode_missing,  // argument 3 is not there
    magic_short,   // argument 3 holds fewer than seven characters
    empty,         // argument 4 or 5 is empty
    odd_digits,    // argument 4 or 5 ends in a lone hex digit
    word_short,    // argument 6 or 7 holds fewer than five characters
};

// What an argument that is read still does not hold as it was most likely
// meant. The bytes made from it are the same as without the note.
enum class ArgumentNoteKind {
    not_hex,     // a character where a hex digit is read is none: it still gives a nibble
    past_field,  // characters after those that are read: they are ignored
};

struct ArgumentNote {
    ArgumentNoteKind kind = ArgumentNoteKind::not_hex;
    int argument = 0;             // 3 to 7
    std::size_t position = 0;     // not_hex: the first such character, counted from 1 in the argument
    std::size_t count = 0;        // such characters in the argument (past_field: the characters ignored)
    unsigned char character = 0;  // not_hex: the first such character
    std::uint16_t value = 0;      // not_hex: what the field holding it reads as (a byte for 4 and 5)
    std::uint32_t byte = 0;       // not_hex in 4 or 5: that byte's number, from 1
};

// At most one note per argument and kind.
constexpr std::size_t ARGUMENT_NOTES_MAX = 10;

struct ArgumentReading {
    ArgumentFault fault = ArgumentFault::none;
    int argument = 0;  // the number of the argument at fault, 3 to 7
    std::array<ArgumentNote, ARGUMENT_NOTES_MAX> notes{};  // in argument order, the arguments read
    std::size_t note_count = 0;
};

// The words of a note without program name or place, for the warning
// "Program: warning: <text> (argument n)".
constexpr std::size_t ARGUMENT_NOTE_TEXT_SIZE = 192;
std::array<char, ARGUMENT_NOTE_TEXT_SIZE> describe_argument_note(const ArgumentNote& note);

// Reads exactly count characters as hex digits into a 16-bit value. Lax on
// purpose: '0'-'9' give their value, any other character (code + 9) mod 16,
// which is right for A-F and a-f alike.
std::uint16_t parse_hex_digits(const char* text, int count);

// Reads arguments 3 to 7 (args[0] is argument 3; more than five are not
// looked at) into request, the first fault stopping the reading. After "-b"
// the others are not examined. The notes of the arguments read are kept
// beside the fault.
ArgumentReading read_upload_arguments(std::span<const char* const> args, ConvertRequest& request);
