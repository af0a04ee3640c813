// The C source a -f run writes beside its image. The build functions
// (cmake/KorvaneToolsFunctions.cmake) know the same rule at configure time;
// tests/data/c_source_names.txt holds image names both are tested on.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

constexpr std::size_t C_SOURCE_NAME_SIZE = 100;  // 99 characters and the NUL

// Derives the C source name from the image name: the extension of the last
// path component becomes ".c" (a full stop in a folder name does not count,
// so the C file always lands beside the image); without one ".c" is appended.
// Returns false when the name does not fit.
bool derive_c_source_name(std::string_view image_name, std::array<char, C_SOURCE_NAME_SIZE>& name);
