#include "convert/convert_main.hpp"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "convert/command_line.hpp"
#include "convert/convert_run.hpp"
#include "convert/diagnostics.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"
#include "convert/messages.hpp"
#include "convert/usage.hpp"

int convert_main(int argc, char** argv)
{
    if (argc < 2) {
        print_convert_usage(stderr);
        return EXIT_OK;
    }
    // --help is not a conversion: the usage text alone, without the banner.
    if (std::strcmp(argv[1], "--help") == 0) {
        print_convert_usage(stdout);
        return EXIT_OK;
    }
    std::printf("%s", CONVERT_BANNER);
    if (std::strcmp(argv[1], "-v") == 0) {
        return EXIT_OK;
    }
    outputs_start("KorvaneConvert");
    ConvertRun run;
    run.in_fd = open_input(argv[1]);
    if (run.in_fd < 0) {
        explain_input_not_opened(argv[1]);
        std::printf("%s", MSG_INPUT_NOT_FOUND);
        return EXIT_INPUT_OR_WRITE_FAILED;
    }
    ConvertRequest request;
    int code = read_request(run, argc, argv, request);
    if (code == EXIT_OK) {
        code = run_conversion(run, request);
    }
    ::close(run.in_fd);
    discard_outputs();  // a failed run puts nothing in place
    free_image_buffers(run);
    return code;
}
