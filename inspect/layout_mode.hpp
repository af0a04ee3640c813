// KorvaneInspect layout CONTROL HEADER: the layout values and the
// identifiers of a control file as a C header, so that firmware takes each
// value from the control file that made its collection image and table:
//
//   KORVANE_TARGET_ADDRESS, KORVANE_FILE_HEADER_LEN, KORVANE_BIG_ENDIAN,
//   KORVANE_FOUR_BYTE_LENGTHS, KORVANE_ALIGN   the image's layout, as the
//                                              image writer takes it
//   KORVANE_LAYOUT                             an initialiser of korvane_layout
//   every other definition of the control file, and 0 for an identifier an
//   entry uses without a definition (MIME types, visibilities)
#pragma once

#include "inspect/inspect_run.hpp"

int run_layout_mode(InspectRun& run, const char* control_path, const char* header_path);
