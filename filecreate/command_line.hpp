// Entry of KorvaneFileCreate: reads the command line once and runs its mode.
#pragma once

#include "filecreate/run_record.hpp"

// Runs the program on its command line with a fresh run record and returns
// the exit code.
int filecreate_main(FileCreateRun& run, int argc, char** argv);
