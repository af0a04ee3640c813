// What a -f run makes of one entry of the control file: its row of the
// user_files table (the name after the parameter-name rule, the array name,
// the identifiers) and, once every definition is known, its record in the
// collection image. KorvaneFileCreate writes both; KorvaneInspect makes them
// the same way to compare an image with its control file.
#pragma once

#include <array>
#include <cstdint>

#include "control/array_names.hpp"
#include "control/control_file.hpp"
#include "control/user_table.hpp"
#include "formats/collection_layout.hpp"

enum class RowStatus {
    added,
    table_full,  // the table text, a piece or the rows would overflow: no complete row
    name_taken,  // the array name is taken, also with the entry's number appended: no complete row
};

struct EntryRow {
    RowStatus status = RowStatus::added;
    bool renamed = false;  // the array name got the entry's number appended
    ArrayName made{};      // the array name made from the path
    ArrayName chosen{};    // the array name of the row
};

// Adds the row of entry to table. With names the array name is chosen among
// the names of the output so far (name_entry_array, file_number being the
// entry's); without, it is taken as made.
EntryRow add_entry_row(UserTable& table, const EntryBuffers& entry, std::uint32_t flags, ArrayNames* names,
                       int file_number);

// Base address, byte order, length width and alignment, from the definitions
// FILE_HEADER_LEN, BIG_ENDIAN, MAX_FILE_LENGTH and ALIGN (each 0 when absent).
CollectionLayout collection_layout_of(const ControlSettings& settings);

// The image's record of a row: the identifiers' values as the record stores
// them (their low 8 bits, an undefined one 0; the image adds bit 7 of the
// visibility). Definitions may follow the last entry, so this is asked only
// after the whole control file has been read.
CollectionEntry collection_entry_of(const ControlSettings& settings, const TableRow& row, std::uint32_t length);

// The name an entry's file is opened under: a question mark stands for a
// hyphen-minus, which could not start a name in the control file.
std::array<char, PATH_BUFFER_SIZE> opened_name(const EntryBuffers& entry);

// After each entry: the option -? holds for one entry only.
void entry_done(std::uint32_t& flags);
