// Everything one run of KorvaneFileCreate owns, in one record that main
// allocates once and passes by reference; a test makes a fresh one. Every
// buffer has its fixed size from the start: nothing grows during a run.
// The large buffers are written before they are read and have no
// initialiser, so that main can allocate the record without touching them
// (std::make_unique_for_overwrite): a run pays only for the memory it uses.
#pragma once

#include <array>
#include <cstdint>

#include "control/array_names.hpp"
#include "filecreate/c_emitter.hpp"
#include "io/chunk_reader.hpp"
#include "control/control_file.hpp"
#include "io/depfile.hpp"
#include "control/entry_buffers.hpp"
#include "io/out_file.hpp"
#include "control/run_flags.hpp"
#include "control/user_table.hpp"

struct FileCreateRun {
    // The control file and what it has set: definitions, target address,
    // array name buffer.
    ControlFile control;
    ControlSettings settings;
    const char* control_path = nullptr;  // as given, for the lines on standard error

    // The first pass over the control file, made before the outputs are
    // created: a reading state, settings and entry of its own, so that the
    // run proper starts as if it had not been made.
    ControlFile first_pass_control;
    ControlSettings first_pass_settings;
    EntryBuffers first_pass_entry;

    // The control-file loop: the current entry, the run flags word and the
    // 1-based number of the entry being fetched (for messages).
    EntryBuffers entry;
    std::uint32_t flags = OPT_WRITE_BANNER;
    int file_number = 1;

    // The user_files table, its rows and the file length list.
    UserTable table;
    std::array<unsigned, MAX_FILES> entry_lines{};  // control-file line of each row, for warnings

    // The names of the arrays written so far to the C output (-f and -fb).
    ArrayNames array_names;

    // Each input file passes through it; the bitmap writer collects reversed
    // rows in it, and the image's closing part is put together in it after
    // the last file. No mode needs two of these at once.
    std::array<unsigned char, INPUT_BUFFER_SIZE> input;

    // Outputs. In the single-file mode c_source is the output and image has
    // no file (fd -1), so the emitter's image bytes go nowhere.
    OutFile image;          // -f: the collection image
    OutFile c_source;       // -f: the C source; single-file mode: the output
    OutFile common_output;  // -fb: the one C file of all bitmaps
    OutFile bitmap_output;  // -bm: the C file of the one bitmap

    ChunkReader bitmap_in;  // the bitmap being converted

    // KORVANE_STRICT=1 (exactly "1"): every warning ends the run with exit 12.
    bool strict = false;

    // KORVANE_DEPFILE: the outputs, the control file and every entry as
    // opened, written as a dependency file when the run succeeds.
    DepfileList deps;
};
