// The second line of an error: where a message on standard output leaves the
// cause open, one line on standard error names it, in the form
//   KorvaneFileCreate: <what> (<control file>, line <n>)
// with the place only where a control-file line is the cause. Warnings about
// a result that may not be what was meant take the same form. Standard output,
// exit codes and output files do not depend on any of this. Each function
// reads errno as the failed call left it, so it is called right after it.
#pragma once

#include <string_view>

#include "filecreate/run_record.hpp"

// A file of the command line that cannot be opened, read or created (path
// nullptr: the argument is missing). kind names it ("control file", ...).
void explain_not_opened(const char* kind, const char* path);
void explain_not_read(const char* kind, const char* path);
void explain_not_created(const char* kind, const char* path);

// The file of the entry being fetched cannot be opened (error is its errno)
// or read; path is the entry as written, question marks not yet read as '-'.
void explain_entry_not_opened(const FileCreateRun& run, const char* path, int error);
void explain_entry_not_read(const FileCreateRun& run, const char* path);

// -f: the C source beside the image cannot be created: its name is the image
// name (an image name ending in .c), it names the image open on image_fd
// under another name, or the system refuses it.
void explain_c_source_not_created(const char* image_path, const char* c_source_name, int image_fd);

// -f: remembers the control-file line of the entry just fetched, for the
// identifier warnings after the last entry.
void note_entry_line(FileCreateRun& run);

// -f, after the last entry (definitions may follow the entries): every
// MIME-type or visibility identifier that the control file never defines,
// once per identifier, at the first entry that uses it. True when one was
// printed.
bool warn_undefined_identifiers(const FileCreateRun& run);

// After a warning: under KORVANE_STRICT=1 the stdout line that ends the run
// and EXIT_STRICT_WARNING, otherwise EXIT_OK.
int strict_warning_code(const FileCreateRun& run);

// An entry's array renamed to name_N because an earlier array of the output
// has its name (the C would not compile).
void warn_array_renamed(const FileCreateRun& run, std::string_view name, const char* entry_path,
                        const char* renamed);

// The control file's lines read otherwise than written, noted since the last
// call: one warning each. True when one was printed.
bool warn_control_notes(FileCreateRun& run);

// A 1-bit bitmap whose palette is not examined (it does not follow a 40-byte
// header), so a light-on-dark picture comes out inverted; in -fb mode the
// entry's place is named.
void warn_palette_not_examined(const FileCreateRun& run, const char* bitmap_path, bool from_control_file);
