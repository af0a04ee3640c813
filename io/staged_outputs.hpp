// Outputs written whole or not at all. Each output of a run is written to a
// temporary file of its own in the output's folder, and only when the run
// succeeds are all of them renamed over their outputs; a run that fails, or
// is stopped by SIGINT, SIGTERM or SIGHUP, leaves every file as it was.
//
// What cannot be replaced by a rename is written in place as the run goes:
// an output that exists and is not a regular file (a device, a FIFO), and a
// writable output in a folder where no temporary can be created (with a
// warning). An output that is a symbolic link is written through the link:
// the temporary goes beside the file the link names and replaces that file.
// A hard-linked output is replaced by a new file; its other names keep the
// old bytes.
#pragma once

#include "io/file_access.hpp"

// Names the program in the messages of this file and removes the temporaries
// when one of the three signals stops the run (a signal that is ignored when
// the program starts stays ignored).
void outputs_start(const char* program);

// The descriptor that the output's bytes go to, or -1 with errno telling why
// the output cannot be written (as creating it in place would have said).
int stage_output(const char* path);

// True when in_fd is open on the file that the staged output out_fd will
// replace (or is written to in place), or on out_fd's temporary itself.
bool opens_output(int in_fd, int out_fd);

// True when path names the file that the staged output out_fd will replace,
// through links, or the same name of a file that does not exist yet.
bool path_is_output(const char* path, int out_fd);

// True once stage_output refused an output because KORVANE_STRICT=1 makes
// its warning (written in place) an error; the caller ends with its strict
// exit code instead of its message of an output not created.
bool output_refused_as_strict();

// Puts every staged output in place, with the signals blocked meanwhile.
// False after a message on standard error naming the output that could not
// be put in place; the temporaries not yet renamed are then removed.
bool commit_outputs();

// Removes every temporary not committed; the outputs stay as they were.
void discard_outputs();
