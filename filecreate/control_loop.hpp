// The control-file loop shared by the file-collection (-f) and the
// bitmap-collection (-fb) modes: opening the control file, fetching one
// entry after another, and the bookkeeping after each.
#pragma once

#include <span>

#include "filecreate/run_record.hpp"

// Opens the control file. Prints the message and returns exit code 1 when it
// cannot be opened (or path is missing), else 0.
int collection_open_control(FileCreateRun& run, const char* control_path);

// Fetches the next entry. True with in_fd open on the entry's file; false
// when the loop ends, with code 0 at the end of the control file or an exit
// code (2 or 10) after its message. An entry whose file is one of the run's
// outputs (compared by identity against output_fds) is refused with code 2.
bool collection_next_entry(FileCreateRun& run, std::span<const int> output_fds, int& in_fd, int& code);

// After an entry: clear the per-entry parameter-name option, count the entry.
void collection_entry_done(FileCreateRun& run);
