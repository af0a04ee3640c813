// The second line of an error: where a message on standard output leaves the
// cause open (a file that cannot be opened, read or created), one line on
// standard error names it in the system's words. Standard output and the exit
// code do not depend on it. Warnings, in the form
//   KorvaneInspect: warning: <what> (<place>)
// name what was read otherwise than it was most likely meant.
#pragma once

struct ArgumentReading;
struct InspectRun;

// error: errno as the failed call left it.
void explain_file_error(const char* path, int error);

// upload: one warning per note of arguments 3 to 7; true when one was printed.
bool warn_arguments(const ArgumentReading& reading);

// After a warning: under KORVANE_STRICT=1 the stdout line that ends the run
// and EXIT_STRICT_WARNING, otherwise EXIT_OK. Every warning of the program
// is followed by it, so that nothing is written after a warning under strict.
int strict_warning_code(const InspectRun& run);
