// KorvaneConvert's command line: what each argument means, read and checked
// before any file is created.
//
//   1 input file, or -v
//   2 output file
//   3 to 7 how the image is made (formats/upload_arguments.hpp)
#pragma once

#include "formats/upload_arguments.hpp"

struct ConvertRun;

// Fills request from argv (argv[1] is the input, already opened by the
// caller) and run.strict from KORVANE_STRICT, and warns of arguments read
// otherwise than written. Returns EXIT_OK, or an exit code after printing why.
int read_request(ConvertRun& run, int argc, char** argv, ConvertRequest& request);
