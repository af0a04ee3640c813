// Before a control-file run creates its outputs, creating them truncates
// them: an entry that names an output which already exists (under any name,
// through hard and symbolic links too) would be destroyed before the run got
// to read it. A first pass over the control file, with the run's own parser,
// finds such an entry while every file is still as it was.
#pragma once

#include <span>

#include "filecreate/run_record.hpp"

// Reads the control file (run.control.fd, not yet read from) to its end with
// the run's parser in its first-pass state, nothing printed, and compares
// each entry, as the run would open it, with the outputs that exist. Returns
// 0 with the control file back at its start, or exit code 2 after "Specified
// input file number N is an output file of this run". A control file that
// cannot be read twice (a pipe) is not read here; the run then compares each
// entry when it reaches it.
int refuse_entries_that_are_outputs(FileCreateRun& run, std::span<const char* const> output_paths);
