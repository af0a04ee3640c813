// The run flags word: option bits handed between the control-file loop, the
// parser, the emitter and the bitmap converter. 0x02 and the bits above 0x80
// are unused.
#pragma once

#include <cstdint>

constexpr std::uint32_t OPT_SQUEEZE_SPACE = 0x01;
constexpr std::uint32_t OPT_END_OF_LIST = 0x04;
constexpr std::uint32_t OPT_INVERT = 0x08;
constexpr std::uint32_t OPT_REVERSE_ROWS = 0x10;
constexpr std::uint32_t OPT_SHARED_OUTPUT = 0x20;
constexpr std::uint32_t OPT_WRITE_BANNER = 0x40;
constexpr std::uint32_t OPT_PARAMETER_NAME = 0x80;
