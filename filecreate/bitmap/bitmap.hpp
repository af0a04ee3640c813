// The bitmap modes of KorvaneFileCreate.
#pragma once

// -bm[n][i] BITMAP OUTPUT: one bitmap into one C array.
// depfile_path: the dependency file to write on success, or nullptr.
int run_single_bitmap(int argc, char** argv, const char* depfile_path);

// -fb CONTROL OUTPUT: every bitmap of a control file into one C file.
int run_bitmap_collection(int argc, char** argv, const char* depfile_path);
