#include "formats/upload_arguments.hpp"

#include <cstring>

namespace {

// Checks an argument of hex digit pairs and takes up to 100 bytes from it.
// A fault when it is empty or ends in a lone digit before 100 bytes are
// held; digits after the 100th byte are not looked at.
ArgumentFault take_bytes(const char* text, ByteList& list)
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
    return ArgumentFault::none;
}

// Reads argument 6 or 7: four hex digits after the first character.
ArgumentFault take_word(const char* text, std::uint16_t& value)
{
    if (std::strlen(text) < 5) {
        return ArgumentFault::word_short;
    }
    value = parse_hex_digits(text + 1, 4);
    return ArgumentFault::none;
}

ArgumentReading read_keyed(std::span<const char* const> args, ConvertRequest& request)
{
    request.keyed = true;
    ArgumentFault fault = take_bytes(args[2], request.keys);
    if (fault != ArgumentFault::none) {
        return {fault, 5};
    }
    for (std::size_t i = 3; i < args.size() && i < 5; ++i) {
        fault = take_word(args[i], i == 3 ? request.seed : request.rotation);
        if (fault != ArgumentFault::none) {
            return {fault, static_cast<int>(i) + 3};
        }
    }
    return {};
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

ArgumentReading read_upload_arguments(std::span<const char* const> args, ConvertRequest& request)
{
    if (args.empty()) {
        return {ArgumentFault::mode_missing, 3};
    }
    const char* mode = args[0];
    request.plain = mode[0] == '-' && mode[1] == 'b';
    if (request.plain) {
        return {};  // arguments 4 to 7 are not examined
    }
    if (std::strlen(mode) < 7) {
        return {ArgumentFault::magic_short, 3};
    }
    request.magic = parse_hex_digits(mode + 3, 4);
    if (args.size() > 1) {
        ArgumentFault fault = take_bytes(args[1], request.suffix);
        if (fault != ArgumentFault::none) {
            return {fault, 4};
        }
    }
    return args.size() > 2 ? read_keyed(args, request) : ArgumentReading{};
}
