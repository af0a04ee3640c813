// The single-file mode: one file into one C array, named by argument 3 or
// "array" (also when argument 3 is empty). No table, no squeezing, and
// run.image has no file, so no image.
#pragma once

#include "filecreate/request.hpp"
#include "filecreate/run_record.hpp"

int run_single_file(FileCreateRun& run, const FileCreateRequest& request);
