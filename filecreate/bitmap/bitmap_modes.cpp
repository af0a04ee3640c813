// The two bitmap modes of KorvaneFileCreate: -bm converts one bitmap, -fb
// every bitmap that a control file lists, into one C file.
#include "filecreate/bitmap/bitmap.hpp"

#include <cstdio>
#include <unistd.h>

#include "filecreate/bitmap/bitmap_reader.hpp"
#include "filecreate/control_loop.hpp"
#include "filecreate/diagnostics.hpp"
#include "io/file_access.hpp"
#include "filecreate/first_pass.hpp"
#include "filecreate/messages.hpp"
#include "filecreate/run_depfile.hpp"
#include "io/staged_outputs.hpp"

namespace {

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

// Closes the output of a -fb run; a run that ends early puts nothing in place.
int stop_run(FileCreateRun& run, int code)
{
    if (!out_close(run.common_output) && code == EXIT_OK) {
        std::printf("%s", MSG_WRITE_FAILED);
        code = EXIT_OUTPUT_FAILED;
    }
    return code;
}

// Checks the entry's array name against the arrays before it. A name too
// long for its buffer is left to convert_bitmap, which refuses it.
int name_bitmap_array(FileCreateRun& run, int in_fd, ArrayName& array_name)
{
    const ControlSettings& settings = run.settings;
    array_name[0] = '\0';
    if (settings.array_name_overflow_line != 0) {
        return EXIT_OK;
    }
    std::string_view made = settings.array_name[0] != '\0' ? settings.array_name.data() : "array";
    if (!is_c_identifier(made) || is_reserved_name(made)) {
        ::close(in_fd);
        std::printf(MSG_ENTRY_REFUSED, run.file_number, WHY_ARRAY_NAME_UNUSABLE);
        return EXIT_ARRAY_NAME_UNUSABLE;
    }
    NameChoice choice = name_entry_array(run.array_names, run.file_number, made, array_name);
    if (choice == NameChoice::suffixed) {
        warn_array_renamed(run, made, run.entry.path.data(), array_name.data());
        if (run.strict) {
            ::close(in_fd);
            return strict_warning_code(run);
        }
    }
    if (choice == NameChoice::taken || choice == NameChoice::full) {
        ::close(in_fd);
        std::printf(MSG_ENTRY_REFUSED, run.file_number,
                    choice == NameChoice::taken ? WHY_ARRAY_NAME_TAKEN : WHY_TOO_MANY_BITMAPS);
        return EXIT_CAPACITY;
    }
    return EXIT_OK;
}

}  // namespace

int run_single_bitmap(FileCreateRun& run, const FileCreateRequest& request)
{
    const char* input_path = request.input;
    const char* output_path = request.output;
    // The array of a single bitmap is always named "array".
    BitmapWork work{run.bitmap_in, run.bitmap_output, run.input, {}};
    int code = convert_bitmap(work, input_path, output_path, single_bitmap_flags(request.mode_word), -1, nullptr);
    if (code == EXIT_OK && work.palette_not_examined) {
        warn_palette_not_examined(run, input_path, false);
        code = strict_warning_code(run);
    }
    return code == EXIT_OK ? finish_single_outputs(run.deps, output_path, input_path) : code;
}

int run_bitmap_collection(FileCreateRun& run, const FileCreateRequest& request)
{
    const char* control_path = request.control;
    const char* output_path = request.output;

    int code = collection_open_control(run, control_path);
    if (code != EXIT_OK) {
        return code;
    }
    if (output_path == nullptr) {
        explain_not_created("output file", nullptr);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    // Creating the output truncates it: never when it is the control file.
    if (path_is_open_file(output_path, run.control.fd)) {
        print_same_file_as_input(output_path);
        return EXIT_OUTPUT_FAILED;
    }
    code = refuse_entries_that_are_outputs(run, std::span(&output_path, 1));
    if (code != EXIT_OK) {
        return code;
    }
    int out_fd = stage_output(output_path);
    if (out_fd < 0 && output_refused_as_strict()) {
        return strict_warning_code(run);
    }
    if (out_fd < 0) {
        explain_not_created("output file", output_path);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(run.common_output, out_fd);

    const int outputs[] = {out_fd};
    int in_fd = -1;
    while (collection_next_entry(run, outputs, in_fd, code)) {
        // The array is named from the control file: the text after the
        // entry's file name and options, or "array" when there is none; a
        // name an earlier array has gets the entry's number. The parser keeps
        // the buffer NUL-terminated.
        ArrayName array_name;
        code = name_bitmap_array(run, in_fd, array_name);
        if (code != EXIT_OK) {
            break;
        }
        BitmapWork work{run.bitmap_in, run.bitmap_output, run.input, array_name.data(),
                        run.settings.array_name_overflow_line};
        run.flags |= OPT_SHARED_OUTPUT;
        code = convert_bitmap(work, nullptr, output_path, run.flags, in_fd, &run.common_output);
        if (code == EXIT_OK && work.palette_not_examined) {
            warn_palette_not_examined(run, run.entry.path.data(), true);
            code = strict_warning_code(run);
        }
        if (code == EXIT_OK && run.common_output.failed) {
            std::printf("%s", MSG_WRITE_FAILED);
            code = EXIT_OUTPUT_FAILED;
        }
        if (code != EXIT_OK) {
            break;
        }
        run.flags &= ~OPT_WRITE_BANNER;
        collection_entry_done(run);
    }
    code = stop_run(run, code);
    if (code == EXIT_OK) {
        depfile_add(run.deps, DepRole::target, output_path);
        code = finish_outputs(run.deps);
    }
    if (code != EXIT_OK) {
        return code;
    }
    std::printf(MSG_BITMAP_COLLECTION_DONE, output_path, VERSION_LINE);
    ::close(run.control.fd);
    return EXIT_OK;
}
