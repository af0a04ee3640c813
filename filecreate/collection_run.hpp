// The file-collection mode (-f): every file of a control file into one C
// source file with the user_files table, and into the collection image.
#pragma once

#include "filecreate/request.hpp"
#include "filecreate/run_record.hpp"

// -f CONTROL IMAGE.
int run_file_collection(FileCreateRun& run, const FileCreateRequest& request);
