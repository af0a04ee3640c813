// What KorvaneInspect image prints about a collection image: the layout the
// control file gives it, the message for a structure that does not hold, and
// one line per record with the identifier names its type and visibility
// bytes stand for.
#pragma once

#include "inspect/inspect_run.hpp"

// The first line: the image, the control file and the layout it gives.
void print_image_layout(const InspectRun& run, const char* image_path, const char* control_path);

// The message for a reading whose fault is not none.
void print_image_fault(const CollectionReading& reading, const InspectRun& run, const char* image_path);

// The table location and one line per record.
void print_image_records(const CollectionReading& reading, const InspectRun& run);
