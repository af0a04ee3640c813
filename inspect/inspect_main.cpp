#include "inspect/inspect_main.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "inspect/glcd_mode.hpp"
#include "inspect/image_mode.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_command_line.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/layout_mode.hpp"
#include "inspect/upload_mode.hpp"
#include "io/staged_outputs.hpp"

namespace {

int change_folder(const char* folder)
{
#ifdef _WIN32
    return ::_chdir(folder);
#else
    return ::chdir(folder);
#endif
}

int run_inspect_mode(InspectRun& run, const InspectRequest& request)
{
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

}  // namespace

int inspect_main(InspectRun& run, int argc, char** argv)
{
    // -C DIR before the mode word: every relative path is taken from DIR.
    if (argc > 2 && std::strcmp(argv[1], "-C") == 0) {
        if (change_folder(argv[2]) != 0) {
            explain_file_error(argv[2], errno);
            std::printf(MSG_FOLDER_NOT_ENTERED, argv[2]);
            return EXIT_INPUT_FAILED;
        }
        argv[2] = argv[0];
        argc -= 2;
        argv += 2;
    }
    InspectRequest request;
    int code = read_inspect_request(argc, argv, request);
    if (code != EXIT_OK) {
        return code;
    }
    // A build asks for warnings to be errors through the environment; read once, here.
    const char* strict = std::getenv("KORVANE_STRICT");
    run.strict = strict != nullptr && std::strcmp(strict, "1") == 0;
    outputs_start("KorvaneInspect");
    code = run_inspect_mode(run, request);
    // --plain and --pbm files are put in place together, and only by a run that passes.
    if (code == EXIT_OK && !commit_outputs()) {
        std::printf(MSG_OUTPUT_WRITE_FAILED, request.plain_path != nullptr ? request.plain_path : request.pbm_folder);
        code = EXIT_OUTPUT_FAILED;
    }
    discard_outputs();
    return code;
}
