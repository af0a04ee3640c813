#include "filecreate/collection_run.hpp"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>

#include "filecreate/c_source_name.hpp"
#include "filecreate/collection_image.hpp"
#include "filecreate/control_loop.hpp"
#include "filecreate/diagnostics.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"
#include "filecreate/first_pass.hpp"
#include "filecreate/messages.hpp"
#include "filecreate/run_depfile.hpp"

namespace {

constexpr std::uint32_t LARGEST_TWO_BYTE_LENGTH = 0xFFFF;

// Marks that would break the generated C text, which does not escape them.
bool holds_any(const char* text, std::string_view marks)
{
    return std::string_view(text).find_first_of(marks) != std::string_view::npos;
}

int refuse_entry(const FileCreateRun& run, int in_fd, const char* why)
{
    ::close(in_fd);
    std::printf(MSG_ENTRY_REFUSED, run.file_number, why);
    return EXIT_CAPACITY;
}

// Handles one entry: table entry, array, image bytes, progress line.
int add_collection_file(FileCreateRun& run, int in_fd)
{
    EntryBuffers& entry = run.entry;
    if (run.table.length_count == MAX_FILES) {
        return refuse_entry(run, in_fd, WHY_TOO_MANY_FILES);
    }
    if (holds_any(entry.path.data(), ",\"")) {
        return refuse_entry(run, in_fd, WHY_PATH_MARKS);
    }
    if (holds_any(entry.mime.data(), ",{}") || holds_any(entry.visibility.data(), ",{}")) {
        return refuse_entry(run, in_fd, WHY_IDENTIFIER_MARKS);
    }
    const char* path_as_written = entry.path.data();
    static_assert(MAX_FILES <= MAX_ARRAY_NAMES);  // so the list of names is never full here
    const EntryRow row = add_entry_row(run.table, entry, run.flags, &run.array_names, run.file_number);
    if (row.renamed) {
        warn_array_renamed(run, row.made.data(), path_as_written, row.chosen.data());
        if (run.strict) {
            ::close(in_fd);
            return strict_warning_code(run);
        }
    }
    if (row.status != RowStatus::added) {
        return refuse_entry(run, in_fd, row.status == RowStatus::name_taken ? WHY_ARRAY_NAME_TAKEN : WHY_TABLE_FULL);
    }
    const ArrayName& array_name = row.chosen;
    EmitStatus status =
        emit_file_array(run.input, run.table, in_fd, run.c_source, array_name.data(), run.flags, run.image);
    ::close(in_fd);
    switch (status) {
    case EmitStatus::ok:
        break;
    case EmitStatus::too_large:
        std::printf(MSG_INPUT_TOO_LARGE, path_as_written, INPUT_BUFFER_SIZE);
        return EXIT_CAPACITY;
    case EmitStatus::too_many_files:
        std::printf(MSG_ENTRY_REFUSED, run.file_number, WHY_TOO_MANY_FILES);
        return EXIT_CAPACITY;
    case EmitStatus::read_failed:
        explain_entry_not_read(run, path_as_written);
        std::printf(MSG_ENTRY_NOT_FOUND, run.file_number);
        return EXIT_ENTRY_FILE_MISSING;
    }
    std::printf(MSG_ADDING_FILE, array_name.data());
    return EXIT_OK;
}

// With 2-byte length fields a file over 65,535 bytes would be recorded with a
// wrong length; the loader would then read a truncated file.
int check_length_fields(const FileCreateRun& run)
{
    if (collection_layout_of(run.settings).four_byte_lengths) {
        return EXIT_OK;
    }
    for (std::size_t i = 0; i < run.table.length_count && i < run.table.row_count; ++i) {
        if (run.table.lengths[i] > LARGEST_TWO_BYTE_LENGTH) {
            std::printf(MSG_NEEDS_FOUR_BYTE_LENGTHS, run.table.rows[i].name.data());
            return EXIT_CAPACITY;
        }
    }
    return EXIT_OK;
}

// Ends the run early: the staged outputs are discarded by the caller.
int stop_run(FileCreateRun& run, int code)
{
    out_close(run.c_source);
    out_close(run.image);
    return code;
}

// Creates the image and the C source beside it; an exit code after its
// message when either cannot be, or when it would overwrite an input (the
// control file, or an entry that names an output which exists already).
int create_outputs(FileCreateRun& run, const char* image_path, const char* c_source_name)
{
    // Creating an output truncates it: never let that destroy the control file.
    for (const char* output : {image_path, c_source_name}) {
        if (path_is_open_file(output, run.control.fd)) {
            print_same_file_as_input(output);
            return EXIT_OUTPUT_FAILED;
        }
    }
    const char* outputs[] = {image_path, c_source_name};
    int code = refuse_entries_that_are_outputs(run, outputs);
    if (code != EXIT_OK) {
        return code;
    }
    int image_fd = stage_output(image_path);
    if (image_fd < 0 && output_refused_as_strict()) {
        return strict_warning_code(run);
    }
    if (image_fd < 0) {
        explain_not_created("image", image_path);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(run.image, image_fd);
    // Two spellings of one file (a link) would interleave both outputs.
    int c_source_fd = path_is_output(c_source_name, image_fd) ? -1 : stage_output(c_source_name);
    if (c_source_fd < 0 && output_refused_as_strict()) {
        return stop_run(run, strict_warning_code(run));
    }
    if (c_source_fd < 0) {
        explain_c_source_not_created(image_path, c_source_name, image_fd);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return stop_run(run, EXIT_OUTPUT_FAILED);
    }
    out_attach(run.c_source, c_source_fd);
    return EXIT_OK;
}

}  // namespace

int run_file_collection(FileCreateRun& run, const FileCreateRequest& request)
{
    const char* control_path = request.control;
    const char* image_path = request.output;

    int code = collection_open_control(run, control_path);
    if (code != EXIT_OK) {
        return code;
    }
    std::array<char, C_SOURCE_NAME_SIZE> c_source_name{};
    if (image_path == nullptr) {
        explain_not_created("image", nullptr);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    if (!derive_c_source_name(image_path, c_source_name)) {
        std::printf(MSG_C_SOURCE_NAME_TOO_LONG, image_path);
        return EXIT_CAPACITY;
    }
    if (std::strcmp(c_source_name.data(), image_path) == 0) {
        explain_c_source_not_created(image_path, c_source_name.data(), -1);
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    code = create_outputs(run, image_path, c_source_name.data());
    if (code != EXIT_OK) {
        return code;
    }

    const int outputs[] = {run.image.fd, run.c_source.fd};
    int in_fd = -1;
    while (collection_next_entry(run, outputs, in_fd, code)) {
        note_entry_line(run);
        code = add_collection_file(run, in_fd);
        if (code == EXIT_OK && (run.image.failed || run.c_source.failed)) {
            std::printf("%s", MSG_WRITE_FAILED);
            code = EXIT_OUTPUT_FAILED;
        }
        if (code != EXIT_OK) {
            break;
        }
        collection_entry_done(run);
    }
    if (code == EXIT_OK) {
        code = check_length_fields(run);
    }
    if (code != EXIT_OK) {
        return stop_run(run, code);
    }
    if (warn_undefined_identifiers(run) && run.strict) {
        return stop_run(run, strict_warning_code(run));
    }
    write_user_file_table(run.table, run.c_source);
    std::uint32_t table_location = write_collection_image(run.settings, run.table, run.input, run.image);
    bool written = out_close(run.c_source);
    written = out_close(run.image) && written;
    if (!written) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_OUTPUT_FAILED;
    }
    depfile_add(run.deps, DepRole::target, image_path);
    depfile_add(run.deps, DepRole::target, c_source_name.data());
    code = finish_outputs(run.deps);
    if (code != EXIT_OK) {
        return code;
    }
    std::printf(MSG_COLLECTION_DONE, image_path, c_source_name.data(), VERSION_LINE);
    std::printf(MSG_TARGET_ADDRESS, run.settings.target_address);
    std::printf(MSG_TABLE_LOCATION, table_location);
    ::close(run.control.fd);
    return EXIT_OK;
}
