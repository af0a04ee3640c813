// The bitmap modes of KorvaneFileCreate.
#pragma once

#include "filecreate/run_record.hpp"

// -bm[n][i] BITMAP OUTPUT: one bitmap into one C array.
int run_single_bitmap(FileCreateRun& run, int argc, char** argv);

// -fb CONTROL OUTPUT: every bitmap of a control file into one C file.
int run_bitmap_collection(FileCreateRun& run, int argc, char** argv);
