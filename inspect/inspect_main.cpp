#include "inspect/inspect_main.hpp"

#include <cstdio>

#include "inspect/glcd_mode.hpp"
#include "inspect/image_mode.hpp"
#include "inspect/inspect_command_line.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/layout_mode.hpp"
#include "inspect/upload_mode.hpp"

int inspect_main(InspectRun& run, int argc, char** argv)
{
    InspectRequest request;
    int code = read_inspect_request(argc, argv, request);
    if (code != EXIT_OK) {
        return code;
    }
    switch (request.mode) {
    case InspectMode::version:
        std::printf("%s", INSPECT_VERSION_LINE);
        return EXIT_OK;
    case InspectMode::help:
        print_usage(true);
        return EXIT_OK;
    case InspectMode::image:
        return run_image_mode(run, request.args[2], request.args[3]);
    case InspectMode::upload:
        return run_upload_mode(run, request);
    case InspectMode::glcd:
        return run_glcd_mode(run, request);
    case InspectMode::layout:
        return run_layout_mode(run, request.args[2], request.args[3]);
    }
    return EXIT_BAD_REQUEST;
}
