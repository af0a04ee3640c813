#include "inspect/inspect_output.hpp"

#include <cerrno>
#include <cstdio>

#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"

int open_output(OutFile& out, const char* path, int input_fd)
{
    // Creating truncates: never let that destroy the file being inspected.
    if (path_is_open_file(path, input_fd)) {
        std::printf(MSG_OUTPUT_IS_INPUT, path);
        return EXIT_OUTPUT_FAILED;
    }
    int fd = stage_output(path);
    if (fd < 0 && output_refused_as_strict()) {
        std::printf("%s", MSG_STRICT_WARNING);
        return EXIT_STRICT_WARNING;
    }
    if (fd < 0) {
        explain_file_error(path, errno);
        std::printf(MSG_OUTPUT_NOT_CREATED, path);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(out, fd);
    return EXIT_OK;
}

int close_output(OutFile& out, const char* path)
{
    if (!out_close(out)) {
        explain_file_error(path, errno);
        std::printf(MSG_OUTPUT_WRITE_FAILED, path);
        return EXIT_OUTPUT_FAILED;
    }
    return EXIT_OK;
}
