// Everything one run of KorvaneInspect owns, in one record that main
// allocates once and passes by reference; a test makes a fresh one. The
// large buffers are written before they are read and have no initialiser,
// so that a mode pays only for the memory it uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "control/control_file.hpp"
#include "control/entry_buffers.hpp"
#include "control/user_table.hpp"
#include "formats/collection_layout.hpp"
#include "formats/key_stream.hpp"
#include "inspect/file_bytes.hpp"
#include "io/out_file.hpp"

// One file line of the control file, as -f takes it.
struct ControlFileEntry {
    int fd = -1;                                  // open on the entry's file; -1 when it cannot be opened
    int error = 0;                                // then errno of the failed open
    bool squeezed = false;                        // -w: the image holds it with white space squeezed
    std::array<char, PATH_BUFFER_SIZE> opened{};  // the name as opened ('?' read as '-')
};

// The longest line of a text picture: 65,535 pixels of up to 3 bytes each and the line end.
constexpr std::size_t PICTURE_LINE_SIZE = 65535 * 3 + 2;

struct InspectRun {
    FileBytes file;   // the file inspected, read whole
    FileBytes plain;  // upload: the plain image recovered from it
    FileBytes firmware;        // upload --against: the firmware file, read whole
    FileBytes firmware_image;  // and the image KorvaneConvert makes of it

    // image: the control file read exactly as -f reads it, the rows of the
    // user_files table that -f makes of its entries, and the entries' files.
    ControlFile control;
    ControlSettings settings;
    EntryBuffers entry;
    std::uint32_t flags = 0;
    UserTable table;
    std::array<ControlFileEntry, MAX_FILES> entries;
    std::size_t entry_count = 0;   // entries kept, at most MAX_FILES
    std::size_t entries_listed = 0;  // file lines of the control file, also beyond MAX_FILES
    std::array<CollectionRecord, MAX_FILES> records;
    std::array<unsigned char, INPUT_BUFFER_SIZE> entry_bytes;  // one entry's file at a time

    // upload: the key stream that undoes the encryption.
    KeyStream key_stream;

    // glcd: one line of a text picture; --plain and --pbm: the output file.
    std::array<char, PICTURE_LINE_SIZE> line;
    OutFile out;

    bool strict = false;  // KORVANE_STRICT=1: a warning ends the run (exit 12)
};

// Closes what the run left open and releases its memory.
void end_inspect_run(InspectRun& run);
