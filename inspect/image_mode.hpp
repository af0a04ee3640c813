// KorvaneInspect image CONTROL IMAGE: the collection image listed as the
// control file lays it out, its structure checked, and each record compared
// with its entry of the control file and with the entry's file.
#pragma once

#include "inspect/inspect_run.hpp"

// The largest image -f can write: 128 files of the largest size, and room for
// their names and records.
constexpr std::size_t IMAGE_CAP = MAX_FILES * INPUT_BUFFER_SIZE + (1 << 16);

int run_image_mode(InspectRun& run, const char* control_path, const char* image_path);

// Compares the records read from an image with the entries of the control
// file and their files. Returns EXIT_OK, or an exit code after the message.
int compare_with_entries(InspectRun& run, const CollectionReading& reading, const char* image_path,
                         const char* control_path);
