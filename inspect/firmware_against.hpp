// upload --against FILE: the plain image recovered from an upload image
// compared with the image KorvaneConvert makes of FILE (records, ELF, Intel
// HEX, S-records or a flat image, read by the same code): does this upload
// image hold exactly this firmware?
#pragma once

#include <span>

#include "inspect/inspect_run.hpp"

// Prints one report line, or the first fault; returns the exit code.
int compare_with_firmware(InspectRun& run, std::span<const unsigned char> plain, const char* path);
