// KorvaneInspect upload IMAGE ARG3 [ARG4 [ARG5 [ARG6 [ARG7]]]] [--plain FILE]:
// the header fields and whether each check holds, then the first fault;
// --plain writes the recovered plain image once every check holds.
#pragma once

#include "inspect/inspect_command_line.hpp"
#include "inspect/inspect_run.hpp"

int run_upload_mode(InspectRun& run, const InspectRequest& request);
