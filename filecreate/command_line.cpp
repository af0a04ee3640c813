#include "filecreate/command_line.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "filecreate/bitmap/bitmap.hpp"
#include "filecreate/collection_run.hpp"
#include "filecreate/diagnostics.hpp"
#include "io/file_access.hpp"
#include "filecreate/messages.hpp"
#include "filecreate/run_depfile.hpp"
#include "io/staged_outputs.hpp"
#include "filecreate/usage.hpp"

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

// One file into one C array, named by argument 3 or "array" (also when
// argument 3 is empty). No table, no squeezing, and run.image has no file, so
// no image.
int run_single_file(FileCreateRun& run, int argc, char** argv)
{
    const char* input_path = argv[1];
    const char* output_path = argc > 2 ? argv[2] : nullptr;
    const char* array_name = argc > 3 && argv[3][0] != '\0' ? argv[3] : nullptr;

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

// The mode the first argument chooses; its exit code.
int run_mode(FileCreateRun& run, const char* mode, int argc, char** argv)
{
    if (std::strcmp(mode, "-v") == 0) {
        std::printf("%s", VERSION_LINE);
        return EXIT_OK;
    }
    if (std::strcmp(mode, "-f") == 0) {
        return run_file_collection(run, argc, argv);
    }
    if (std::strcmp(mode, "-fb") == 0) {
        return run_bitmap_collection(run, argc, argv);
    }
    if (std::strncmp(mode, "-bm", 3) == 0) {
        return run_single_bitmap(run, argc, argv);
    }
    return run_single_file(run, argc, argv);
}

}  // namespace

int filecreate_main(FileCreateRun& run, int argc, char** argv)
{
    if (argc < 2 || argv[1] == nullptr) {
        print_filecreate_usage(stderr);  // first: the message below has no line end
        std::printf("%s", MSG_ARGUMENTS_MISSING);
        return EXIT_OK;
    }
    const char* mode = argv[1];
    if (std::strcmp(mode, "--help") == 0) {
        print_filecreate_usage(stdout);
        return EXIT_OK;
    }
    // A build tool asks for a dependency file through the environment, as it
    // does of compilers; read once, here.
    depfile_start(run.deps, std::getenv("KORVANE_DEPFILE"));
    outputs_start("KorvaneFileCreate");
    int code = run_mode(run, mode, argc, argv);
    discard_outputs();  // what a failed run staged
    return code;
}