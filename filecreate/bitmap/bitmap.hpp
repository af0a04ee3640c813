// The bitmap modes of KorvaneFileCreate.
#pragma once

#include "filecreate/request.hpp"
#include "filecreate/run_record.hpp"

// -bm[n][i] BITMAP OUTPUT: one bitmap into one C array.
int run_single_bitmap(FileCreateRun& run, const FileCreateRequest& request);

// -fb CONTROL OUTPUT: every bitmap of a control file into one C file.
int run_bitmap_collection(FileCreateRun& run, const FileCreateRequest& request);
