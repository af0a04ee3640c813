// KorvaneInspect glcd FILE.c [NAME] [--ascii] [--pbm DIR]: every GLCD array
// of a C file (or the one named) with its name and size, drawn as text, or
// written as DIR/NAME.pbm.
#pragma once

#include "inspect/inspect_command_line.hpp"
#include "inspect/inspect_run.hpp"

// The largest C file read: a 4096 x 4096 bitmap takes about 11 MB of text.
constexpr std::size_t GLCD_TEXT_CAP = 64u << 20;

int run_glcd_mode(InspectRun& run, const InspectRequest& request);
