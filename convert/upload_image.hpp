// KorvaneConvert: command line, upload header and the run.
#pragma once

#include <cstdint>

// Exit codes. 0 to 2 are the historical ones; 3 was added so that a bad
// command line or an input beyond capacity is never converted silently.
constexpr int CONVERT_OK = 0;
constexpr int CONVERT_INPUT_OR_WRITE_FAILED = 1;
constexpr int CONVERT_OUTPUT_FAILED = 2;
constexpr int CONVERT_BAD_REQUEST = 3;

// Reads exactly count characters as hex digits into a 16-bit value. Lax on
// purpose: '0'-'9' give their value, any other character (code + 9) mod 16,
// which is right for A-F and a-f alike.
std::uint16_t parse_hex_digits(const char* text, int count);

// Runs the program on its command line and returns the exit code.
int convert_main(int argc, char** argv);

// Releases the image, flattening and rotation buffers obtained by a run.
void free_image_buffers();
