// KorvaneConvert's command line: what each argument means, read and checked
// before any file is created.
//
//   1 input file, or -v         5 key bytes (optional, only after 4)
//   2 output file               6 key-stream seed (optional, only after 5)
//   3 mode and image magic      7 rotation length (optional, only after 5)
//   4 CRC suffix bytes (optional, header mode)
#pragma once

#include <array>
#include <cstdint>

#include "formats/key_stream.hpp"

constexpr std::size_t ARGUMENT_BYTES_MAX = 100;  // suffix or key bytes taken from one argument
static_assert(ARGUMENT_BYTES_MAX <= KEY_BYTES_MAX);

// Bytes given as hex digit pairs after an argument's first character.
struct ByteList {
    std::array<unsigned char, ARGUMENT_BYTES_MAX> bytes{};
    std::uint32_t count = 0;
};

struct ConvertRequest {
    const char* input = nullptr;
    const char* output = nullptr;
    bool plain = false;  // argument 3 starts with "-b": the image alone, no header
    std::uint16_t magic = 0;
    ByteList suffix;
    bool keyed = false;  // argument 5 is there: encryption and the 10-byte header
    ByteList keys;
    std::uint16_t seed = 0;
    std::uint16_t rotation = 0;
};

// Reads exactly count characters as hex digits into a 16-bit value. Lax on
// purpose: '0'-'9' give their value, any other character (code + 9) mod 16,
// which is right for A-F and a-f alike.
std::uint16_t parse_hex_digits(const char* text, int count);

// Fills request from argv (argv[1] is the input, already opened by the
// caller). Returns CONVERT_OK, or an exit code after printing why.
int read_request(int argc, char** argv, ConvertRequest& request);
