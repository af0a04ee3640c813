// KorvaneInspect's command line: the mode word, its positional arguments and
// its options, read and checked before any file is opened.
//
//   KorvaneInspect image CONTROL IMAGE
//   KorvaneInspect upload IMAGE ARG3 [ARG4 [ARG5 [ARG6 [ARG7]]]] [--plain FILE] [--against FILE]
//   KorvaneInspect glcd FILE.c [NAME] [--ascii] [--pbm DIR]
//   KorvaneInspect layout CONTROL HEADER
//   KorvaneInspect -v | --help
//
// Only these exact words are options, anywhere after the mode word: the
// arguments of KorvaneConvert start with a minus sign of their own.
#pragma once

#include <array>

enum class InspectMode { version, help, image, upload, glcd, layout };

// The mode word and the positional arguments after it, in order.
constexpr int MAX_POSITIONAL = 6;  // upload: IMAGE and arguments 3 to 7

struct InspectRequest {
    InspectMode mode = InspectMode::help;
    // A compact argument vector: the program, the mode word, then the
    // positional arguments. For upload the image stands where KorvaneConvert's
    // output stood, and arguments 3 to 7 keep their positions.
    std::array<char*, MAX_POSITIONAL + 3> args{};
    int arg_count = 0;
    const char* plain_path = nullptr;  // upload --plain FILE
    const char* against_path = nullptr;  // upload --against FILE
    bool ascii = false;                // glcd --ascii
    const char* pbm_folder = nullptr;  // glcd --pbm DIR
};

// Fills request from argv. Returns EXIT_OK, or an exit code after the
// message (and the usage text on standard error).
int read_inspect_request(int argc, char** argv, InspectRequest& request);

// The usage text, for --help (standard output) and after a command line that
// cannot be used (standard error).
void print_usage(bool to_standard_output);
