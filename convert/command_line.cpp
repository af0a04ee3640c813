#include "convert/command_line.hpp"

#include <cstring>

#include "convert/diagnostics.hpp"
#include "convert/messages.hpp"

namespace {

// Checks an argument of hex digit pairs and takes up to 100 bytes from it.
// False (after its message) when it is empty or ends in a lone digit before
// 100 bytes are held; digits after the 100th byte are not looked at.
bool take_bytes(const char* text, int position, ByteList& list)
{
    std::size_t digits = std::strlen(text);
    if (digits == 0) {
        say_argument_empty(position);
        return false;
    }
    digits -= 1;
    const std::size_t pairs = digits / 2;
    if (pairs < ARGUMENT_BYTES_MAX && digits % 2 != 0) {
        say_odd_digits(position);
        return false;
    }
    list.count = static_cast<std::uint32_t>(pairs < ARGUMENT_BYTES_MAX ? pairs : ARGUMENT_BYTES_MAX);
    for (std::uint32_t i = 0; i < list.count; ++i) {
        list.bytes[i] = static_cast<unsigned char>(parse_hex_digits(text + 1 + 2 * i, 2));
    }
    return true;
}

// Reads argument 6 or 7: four hex digits after the first character.
bool take_word(const char* text, int position, std::uint16_t& value)
{
    if (std::strlen(text) < 5) {
        say_word_short(position);
        return false;
    }
    value = parse_hex_digits(text + 1, 4);
    return true;
}

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

int read_request(int argc, char** argv, ConvertRequest& request)
{
    request.input = argv[1];
    request.output = argc > 2 ? argv[2] : nullptr;
    if (request.output == nullptr) {
        explain_output_not_created(nullptr);
        say(MSG_OUTPUT_NOT_CREATED);
        return CONVERT_OUTPUT_FAILED;
    }
    if (argc < 4) {
        say(MSG_MODE_MISSING);
        return CONVERT_BAD_REQUEST;
    }
    const char* mode = argv[3];
    request.plain = mode[0] == '-' && mode[1] == 'b';
    if (request.plain) {
        return CONVERT_OK;  // arguments 4 to 7 are not examined
    }
    if (std::strlen(mode) < 7) {
        say(MSG_MAGIC_SHORT);
        return CONVERT_BAD_REQUEST;
    }
    request.magic = parse_hex_digits(mode + 3, 4);
    if (argc > 4 && !take_bytes(argv[4], 4, request.suffix)) {
        return CONVERT_BAD_REQUEST;
    }
    if (argc > 5) {
        request.keyed = true;
        if (!take_bytes(argv[5], 5, request.keys)) {
            return CONVERT_BAD_REQUEST;
        }
        if (argc > 6 && !take_word(argv[6], 6, request.seed)) {
            return CONVERT_BAD_REQUEST;
        }
        if (argc > 7 && !take_word(argv[7], 7, request.rotation)) {
            return CONVERT_BAD_REQUEST;
        }
    }
    return CONVERT_OK;
}
