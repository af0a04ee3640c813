// The control file of an image as -f reads it: the same parser, the same
// definitions and target address, each entry's file opened the same way (in
// the control file's folder, '?' read as '-'), and the row of the user_files
// table that -f makes of each entry.
#pragma once

#include "inspect/inspect_run.hpp"

// Reads the whole control file into run: settings, table rows and entries.
// Makes the control file's folder the working folder first, since -f is run
// there. Returns EXIT_OK, or an exit code after the message.
int read_control_entries(InspectRun& run, const char* control_path);
