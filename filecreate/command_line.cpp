#include "filecreate/command_line.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filecreate/bitmap/bitmap.hpp"
#include "filecreate/collection_run.hpp"
#include "filecreate/messages.hpp"
#include "filecreate/request.hpp"
#include "filecreate/single_file.hpp"
#include "filecreate/usage.hpp"
#include "io/staged_outputs.hpp"

namespace {

// The mode the request names; its exit code.
int run_mode(FileCreateRun& run, const FileCreateRequest& request)
{
    switch (request.mode) {
    case FileCreateMode::version:
        std::printf("%s", VERSION_LINE);
        return EXIT_OK;
    case FileCreateMode::file_collection: return run_file_collection(run, request);
    case FileCreateMode::bitmap_collection: return run_bitmap_collection(run, request);
    case FileCreateMode::single_bitmap: return run_single_bitmap(run, request);
    default: return run_single_file(run, request);
    }
}

}  // namespace

int filecreate_main(FileCreateRun& run, int argc, char** argv)
{
    const FileCreateRequest request = read_filecreate_request(argc, argv);
    if (request.mode == FileCreateMode::arguments_missing) {
        print_filecreate_usage(stderr);  // first: the message below has no line end
        std::printf("%s", MSG_ARGUMENTS_MISSING);
        return EXIT_OK;
    }
    if (request.mode == FileCreateMode::help) {
        print_filecreate_usage(stdout);
        return EXIT_OK;
    }
    // A build tool asks for a dependency file through the environment, as it
    // does of compilers; read once, here.
    depfile_start(run.deps, std::getenv("KORVANE_DEPFILE"));
    const char* strict = std::getenv("KORVANE_STRICT");
    run.strict = strict != nullptr && std::strcmp(strict, "1") == 0;
    outputs_start("KorvaneFileCreate");
    const int code = run_mode(run, request);
    discard_outputs();  // what a failed run staged
    return code;
}
