// The usage text of KorvaneFileCreate: printed by --help to standard output
// and, after "Arguments missing", to standard error.
#pragma once

#include <cstdio>

void print_filecreate_usage(std::FILE* stream);
