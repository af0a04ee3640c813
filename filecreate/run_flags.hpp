// Run flags word, exit codes and version line shared by every mode of KorvaneFileCreate.
#pragma once

#include <cstdint>

// Option bits handed between the control-file loop, the parser, the emitter and
// the bitmap converter. 0x02 and the bits above 0x80 are unused.
constexpr std::uint32_t OPT_SQUEEZE_SPACE = 0x01;
constexpr std::uint32_t OPT_END_OF_LIST = 0x04;
constexpr std::uint32_t OPT_INVERT = 0x08;
constexpr std::uint32_t OPT_REVERSE_ROWS = 0x10;
constexpr std::uint32_t OPT_SHARED_OUTPUT = 0x20;
constexpr std::uint32_t OPT_WRITE_BANNER = 0x40;
constexpr std::uint32_t OPT_PARAMETER_NAME = 0x80;

// Exit codes of KorvaneFileCreate. 0 to 9 are the historical codes that build
// scripts test for; 10 was added for inputs beyond a fixed capacity of the tool.
constexpr int EXIT_OK = 0;
constexpr int EXIT_CONTROL_FILE_MISSING = 1;
constexpr int EXIT_ENTRY_FILE_MISSING = 2;
constexpr int EXIT_INPUT_FILE_MISSING = 3;
constexpr int EXIT_OUTPUT_FAILED = 4;
constexpr int EXIT_BITMAP_MISSING = 5;
constexpr int EXIT_NOT_BITMAP = 6;
constexpr int EXIT_BITMAP_COMPRESSED = 7;
constexpr int EXIT_BITMAP_FORMAT = 8;
constexpr int EXIT_BITMAP_OUTPUT_FAILED = 9;
constexpr int EXIT_CAPACITY = 10;

// Printed by -v and as the tail of the closing lines of the control-file modes.
constexpr const char VERSION_LINE[] = "      KorvaneFileCreate V1.9\r\r\n";

// Messages used by more than one mode.
constexpr const char MSG_OUTPUT_NOT_CREATED[] = "Output file could not be created. Terminating\n\n";
constexpr const char MSG_WRITE_FAILED[] = "Output file write failed. Terminating\n\n";
