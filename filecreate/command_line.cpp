#include "command_line.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "bitmap.hpp"
#include "c_emitter.hpp"
#include "collection_run.hpp"
#include "file_access.hpp"
#include "out_file.hpp"
#include "run_flags.hpp"

namespace {

// One file into one C array, named by argument 3 or "array".
int run_single_file(int argc, char** argv, const char* depfile_path)
{
    static OutFile c_source;
    static OutFile no_image;  // fd -1: the single-file mode makes no image
    const char* input_path = argv[1];
    const char* output_path = argc > 2 ? argv[2] : nullptr;
    const char* array_name = argc > 3 ? argv[3] : nullptr;

    int in_fd = open_input(input_path);
    if (in_fd < 0) {
        std::printf("Input file could not be found. Terminating\n\n");
        return EXIT_INPUT_FILE_MISSING;
    }
    if (output_path != nullptr && path_is_open_file(output_path, in_fd)) {
        ::close(in_fd);
        std::printf("Output file %s is the same file as an input. Terminating\n\n", output_path);
        return EXIT_OUTPUT_FAILED;
    }
    int out_fd = create_output(output_path);
    if (out_fd < 0) {
        ::close(in_fd);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(c_source, out_fd);
    out_attach(no_image, -1);
    EmitStatus status = emit_file_array(in_fd, c_source, array_name, 0, no_image);
    ::close(in_fd);
    bool written = out_close(c_source);
    switch (status) {
    case EmitStatus::ok:
        break;
    case EmitStatus::too_large:
        std::printf("Input file %s larger than %zu bytes. Terminating\n\n", input_path, INPUT_BUFFER_SIZE);
        return EXIT_CAPACITY;
    case EmitStatus::read_failed:
    case EmitStatus::too_many_files:
        std::printf("Input file could not be found. Terminating\n\n");
        return EXIT_INPUT_FILE_MISSING;
    }
    if (!written) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_OUTPUT_FAILED;
    }
    int code = write_single_depfile(depfile_path, output_path, input_path);
    if (code != EXIT_OK) {
        return code;
    }
    std::printf("Output file %s successfully generated\n\n", output_path);
    return EXIT_OK;
}

}  // namespace

int filecreate_main(int argc, char** argv)
{
    if (argc < 2 || argv[1] == nullptr) {
        std::printf("Arguments missing");
        return EXIT_OK;
    }
    const char* mode = argv[1];
    // A build tool asks for a dependency file through the environment, as it
    // does of compilers; read once, here.
    const char* depfile_path = std::getenv("KORVANE_DEPFILE");
    if (std::strcmp(mode, "-v") == 0) {
        std::printf("%s", VERSION_LINE);
        return EXIT_OK;
    }
    if (std::strcmp(mode, "-f") == 0) {
        return run_file_collection(argc, argv, depfile_path);
    }
    if (std::strcmp(mode, "-fb") == 0) {
        return run_bitmap_collection(argc, argv, depfile_path);
    }
    if (std::strncmp(mode, "-bm", 3) == 0) {
        return run_single_bitmap(argc, argv, depfile_path);
    }
    return run_single_file(argc, argv, depfile_path);
}
