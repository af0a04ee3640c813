// KorvaneConvert's entry: the usage text (--help, or no arguments), the
// banner, the version query, then the input opened, the command line read
// and the run handed over.
#pragma once

// Runs the program on its command line and returns the exit code.
int convert_main(int argc, char** argv);
