#include "filecreate/single_file.hpp"

#include <cstdio>
#include <unistd.h>

#include "control/array_names.hpp"
#include "filecreate/diagnostics.hpp"
#include "filecreate/messages.hpp"
#include "filecreate/run_depfile.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"

namespace {

// A refusal of the input, after its message (and the system's reason for a
// failed read, so this comes right after it).
int refuse_input(EmitStatus status, const char* input_path)
{
    if (status == EmitStatus::too_large) {
        std::printf(MSG_INPUT_TOO_LARGE, input_path, INPUT_BUFFER_SIZE);
        return EXIT_CAPACITY;
    }
    explain_not_read("input file", input_path);
    std::printf("%s", MSG_INPUT_NOT_FOUND);
    return EXIT_INPUT_FILE_MISSING;
}

}  // namespace

int run_single_file(FileCreateRun& run, const FileCreateRequest& request)
{
    const char* input_path = request.input;
    const char* output_path = request.output;
    const char* array_name = request.array_name;

    if (array_name != nullptr && (!is_c_identifier(array_name) || is_reserved_name(array_name))) {
        std::printf(MSG_ARRAY_NAME_UNUSABLE, array_name);
        return EXIT_ARRAY_NAME_UNUSABLE;
    }

    int in_fd = open_input(input_path);
    if (in_fd < 0) {
        explain_not_opened("input file", input_path);
        std::printf("%s", MSG_INPUT_NOT_FOUND);
        return EXIT_INPUT_FILE_MISSING;
    }
    if (output_path != nullptr && path_is_open_file(output_path, in_fd)) {
        ::close(in_fd);
        print_same_file_as_input(output_path);
        return EXIT_OUTPUT_FAILED;
    }
    // Creating the output truncates it: an input that is refused (too large,
    // or a pipe that cannot be read) is found out first.
    TakenInput input;
    EmitStatus status = take_input(run.input, in_fd, input);
    if (status != EmitStatus::ok) {
        int code = refuse_input(status, input_path);
        ::close(in_fd);
        return code;
    }
    int out_fd = stage_output(output_path);
    if (out_fd < 0 && output_refused_as_strict()) {
        ::close(in_fd);
        return strict_warning_code(run);
    }
    if (out_fd < 0) {
        explain_not_created("output file", output_path);
        ::close(in_fd);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(run.c_source, out_fd);
    status = emit_taken_input(run.input, run.table, input, run.c_source, array_name, 0, run.image);
    ::close(in_fd);
    bool written = out_close(run.c_source);
    if (status != EmitStatus::ok) {
        return refuse_input(status, input_path);
    }
    if (!written) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_OUTPUT_FAILED;
    }
    int code = finish_single_outputs(run.deps, output_path, input_path);
    if (code != EXIT_OK) {
        return code;
    }
    std::printf(MSG_SINGLE_FILE_DONE, output_path);
    return EXIT_OK;
}

