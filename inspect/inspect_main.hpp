// KorvaneInspect's entry: the command line read, then the mode handed over.
#pragma once

#include "inspect/inspect_run.hpp"

// Runs the program on its command line and returns the exit code.
int inspect_main(InspectRun& run, int argc, char** argv);
