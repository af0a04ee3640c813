// Shared pieces of the fuzz targets: a scratch folder, writing an input to a
// file, and quiet standard output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Creates (once) a scratch folder, makes it the working folder, silences
// standard output, and returns the folder's path.
const std::string& fuzz_scratch();

// Writes bytes to name inside the scratch folder; returns its path.
std::string fuzz_write(const char* name, const std::uint8_t* data, std::size_t size);
