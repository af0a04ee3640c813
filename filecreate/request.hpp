// KorvaneFileCreate's command line, read once: the mode from argument 1 and
// the names the mode takes from the arguments after it. An argument that is
// not there stays nullptr; each mode says what that means.
//
//   -f CONTROL IMAGE        -bm[flags] BITMAP OUTPUT
//   -fb CONTROL OUTPUT      INPUT OUTPUT [ARRAY_NAME]
#pragma once

enum class FileCreateMode { arguments_missing, help, version, file_collection, bitmap_collection, single_bitmap,
                            single_file };

struct FileCreateRequest {
    FileCreateMode mode = FileCreateMode::arguments_missing;
    const char* mode_word = nullptr;   // argument 1 (-bm carries its flags in it)
    const char* control = nullptr;     // -f, -fb: the control file
    const char* input = nullptr;       // -bm, single file: the file converted
    const char* output = nullptr;      // -f: the image; else the C output
    const char* array_name = nullptr;  // single file: argument 3 when not empty
};

FileCreateRequest read_filecreate_request(int argc, char** argv);
