// The usage text of KorvaneConvert: printed by --help to standard output and,
// in a run without arguments, to standard error.
#pragma once

#include <cstdio>

void print_convert_usage(std::FILE* stream);
