// Completing the collection image of a -f run: the control file's
// definitions and target address give the layout, the table rows and the
// file length list give the entries.
#pragma once

#include <cstdint>
#include <span>

#include "control/control_file.hpp"
#include "control/entry_row.hpp"
#include "control/user_table.hpp"
#include "formats/collection_layout.hpp"
#include "io/out_file.hpp"

// Appends the names, header records, end-of-list bytes and table location to
// the image, whose file data area has already been written; scratch holds
// them on the way (the run's input buffer, free by then). Returns the user
// table location (an absolute target address).
std::uint32_t write_collection_image(const ControlSettings& settings, const UserTable& table,
                                     std::span<unsigned char, INPUT_BUFFER_SIZE> scratch, OutFile& image);
