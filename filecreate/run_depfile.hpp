// The dependency file of a successful run (KORVANE_DEPFILE), written from
// what the run record has collected.
#pragma once

#include "filecreate/run_record.hpp"

// Writes the dependency file asked for (if any) of a run that has succeeded.
// Returns 0, or exit code 4 after the message when it cannot be written.
int write_run_depfile(const DepfileList& deps);

// The same for a run that made output_path from input_path alone.
int write_single_depfile(DepfileList& deps, const char* output_path, const char* input_path);
