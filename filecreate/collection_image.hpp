// The binary collection image: file data (appended by the emitter), names,
// the file header table, sixteen zero bytes and the table's location.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "out_file.hpp"

// Appends the names, header records, end-of-list bytes and table location to
// the image, whose file data area has already been written. Returns the user
// table location (an absolute target address).
std::uint32_t write_collection_image(OutFile& image);

// Sum of the emitted lengths of all files.
std::uint32_t total_file_length();

// The name that the image stores for file number index (0-based), as the
// table text holds it; empty when there is no such file.
std::string_view table_entry_name(std::size_t index);
