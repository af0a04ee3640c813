// The second line of an error: where a message on standard output leaves the
// cause open, one line on standard error names it ("KorvaneConvert: <what>").
// Standard output, exit codes and the output file do not depend on it. Each
// function reads errno as the failed call left it, so it is called right
// after that call.
#pragma once

void explain_input_not_opened(const char* path);
void explain_input_not_read(const char* path);
void explain_output_not_created(const char* path);  // nullptr: argument 2 is missing
