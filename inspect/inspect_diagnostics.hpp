// The second line of an error: where a message on standard output leaves the
// cause open (a file that cannot be opened, read or created), one line on
// standard error names it in the system's words. Standard output and the exit
// code do not depend on it.
#pragma once

// error: errno as the failed call left it.
void explain_file_error(const char* path, int error);
