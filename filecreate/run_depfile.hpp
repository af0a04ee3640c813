// The end of a successful run: the dependency file (KORVANE_DEPFILE),
// written from what the run record has collected, and then every output put
// in place at once.
#pragma once

#include "filecreate/run_record.hpp"

// Writes the dependency file asked for (if any) of a run that has succeeded
// and puts the run's outputs in place. Returns 0, or exit code 4 after the
// message when either cannot be done; the outputs are then as they were.
int finish_outputs(const DepfileList& deps);

// The same for a run that made output_path from input_path alone.
int finish_single_outputs(DepfileList& deps, const char* output_path, const char* input_path);
