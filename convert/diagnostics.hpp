// The second line of an error: where a message on standard output leaves the
// cause open, one line on standard error names it ("KorvaneConvert: <what>").
// Standard output, exit codes and the output file do not depend on it. Each
// function reads errno as the failed call left it, so it is called right
// after that call.
#pragma once

void explain_input_not_opened(const char* path);
void explain_input_not_read(const char* path);
void explain_output_not_created(const char* path);  // nullptr: argument 2 is missing

struct ArgumentReading;
struct ConvertRun;
struct FirmwareInput;

// The note on what an ELF, Intel HEX or S-record input gave, and the warning
// for a record input read otherwise than it was most likely meant. Every
// warning about the input goes through warn_input. The warning functions
// return whether they warned.
void note_input_read(const char* path, const FirmwareInput& examined);
void warn_input(const char* path, unsigned long long offset, const char* what);
bool warn_doubtful_input(const char* path, const FirmwareInput& examined);

// One warning per note of arguments 3 to 7 (the command line has no line,
// so the place is the argument).
bool warn_arguments(const ArgumentReading& reading);

// After a warning: under KORVANE_STRICT=1 the stdout line that ends the run
// and EXIT_STRICT_WARNING, otherwise EXIT_OK.
int strict_warning_code(const ConvertRun& run);
