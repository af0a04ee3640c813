#include "inspect_main.hpp"

#include <cstdio>
#include <unistd.h>

#include "glcd_mode.hpp"
#include "image_mode.hpp"
#include "inspect_command_line.hpp"
#include "inspect_messages.hpp"
#include "upload_mode.hpp"

int inspect_main(InspectRun& run, int argc, char** argv)
{
    InspectRequest request;
    int code = read_inspect_request(argc, argv, request);
    if (code != INSPECT_OK) {
        return code;
    }
    switch (request.mode) {
    case InspectMode::version:
        std::printf("%s", INSPECT_VERSION_LINE);
        return INSPECT_OK;
    case InspectMode::help:
        print_usage(true);
        return INSPECT_OK;
    case InspectMode::image:
        return run_image_mode(run, request.args[2], request.args[3]);
    case InspectMode::upload:
        return run_upload_mode(run, request);
    case InspectMode::glcd:
        return run_glcd_mode(run, request);
    }
    return INSPECT_BAD_REQUEST;
}

void end_inspect_run(InspectRun& run)
{
    if (run.control.fd >= 0) {
        ::close(run.control.fd);
        run.control.fd = -1;
    }
    for (std::size_t i = 0; i < run.entry_count; ++i) {
        if (run.entries[i].fd >= 0) {
            ::close(run.entries[i].fd);
            run.entries[i].fd = -1;
        }
    }
    release_bytes(run.file);
    release_bytes(run.plain);
}
