// The two bitmap modes of KorvaneFileCreate: -bm converts one bitmap, -fb
// every bitmap that a control file lists, into one C file.
#include "bitmap.hpp"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "bitmap_reader.hpp"
#include "c_emitter.hpp"
#include "collection_run.hpp"
#include "file_access.hpp"
#include "out_file.hpp"
#include "run_flags.hpp"

namespace {

// The common output of a -fb run and what convert_bitmap borrows; static
// for their 64 KiB buffers.
OutFile common_output;
ChunkReader bitmap_input;
OutFile bitmap_output;

// Reversed rows collect in the emitter's input buffer: no mode uses both.
BitmapWork bitmap_work()
{
    return BitmapWork{bitmap_input, bitmap_output, shared_input_buffer(), {}, 0};
}

// Mode letters: n and i, lower case, at the two places right after "-bm".
std::uint32_t single_bitmap_flags(const char* mode)
{
    std::uint32_t flags = 0;
    for (int i = 3; i < 5 && mode[i] != '\0'; ++i) {
        if (mode[i] == 'n') {
            flags |= OPT_INVERT;
        } else if (mode[i] == 'i') {
            flags |= OPT_REVERSE_ROWS;
        }
    }
    return flags;
}

// Ends a -fb run early; the arrays written so far stay in the output.
int stop_run(int code)
{
    if (!out_close(common_output) && code == EXIT_OK) {
        std::printf("%s", MSG_WRITE_FAILED);
        code = EXIT_OUTPUT_FAILED;
    }
    return code;
}

}  // namespace

int run_single_bitmap(int argc, char** argv)
{
    const char* input_path = argc > 2 ? argv[2] : nullptr;
    const char* output_path = argc > 3 ? argv[3] : nullptr;
    BitmapWork work = bitmap_work();
    return convert_bitmap(work, input_path, output_path, single_bitmap_flags(argv[1]), -1, nullptr);
}

int run_bitmap_collection(int argc, char** argv)
{
    static CollectionRun run;
    run = CollectionRun{};
    const char* control_path = argc > 2 ? argv[2] : nullptr;
    const char* output_path = argc > 3 ? argv[3] : nullptr;

    int code = collection_open_control(run, control_path);
    if (code != EXIT_OK) {
        return code;
    }
    if (output_path == nullptr) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    // Creating the output truncates it: never when it is the control file.
    if (path_is_open_file(output_path, run.control.fd)) {
        std::printf("Output file %s is the same file as an input. Terminating\n\n", output_path);
        return EXIT_OUTPUT_FAILED;
    }
    int out_fd = create_output(output_path);
    if (out_fd < 0) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(common_output, out_fd);

    const int outputs[] = {out_fd};
    for (;;) {
        int in_fd = -1;
        code = collection_next_entry(run, outputs, in_fd);
        if (code < 0) {
            break;
        }
        if (code != EXIT_OK) {
            return stop_run(code);
        }
        run.flags |= OPT_SHARED_OUTPUT;
        BitmapWork work = bitmap_work();
        const char* name = control_array_name();
        work.array_name = std::string_view(name, ::strnlen(name, ARRAY_NAME_SIZE));
        work.array_name_overflow_line = control_array_name_overflow_line();
        code = convert_bitmap(work, nullptr, output_path, run.flags, in_fd, &common_output);
        if (code == EXIT_OK && common_output.failed) {
            std::printf("%s", MSG_WRITE_FAILED);
            code = EXIT_OUTPUT_FAILED;
        }
        if (code != EXIT_OK) {
            return stop_run(code);
        }
        run.flags &= ~OPT_WRITE_BANNER;
        collection_entry_done(run);
    }
    code = stop_run(EXIT_OK);
    if (code != EXIT_OK) {
        return code;
    }
    std::printf("Output file %s successfully created using%s\n", output_path, VERSION_LINE);
    ::close(run.control.fd);
    return EXIT_OK;
}
