#include "collection_run.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>

#include "c_emitter.hpp"
#include "collection_image.hpp"
#include "file_access.hpp"
#include "out_file.hpp"

namespace {

constexpr std::size_t C_SOURCE_NAME_SIZE = 100;  // 99 characters and the NUL
constexpr std::uint32_t LARGEST_TWO_BYTE_LENGTH = 0xFFFF;

// The outputs of the -f run; static because each carries a 64 KiB buffer.
OutFile image_out;
OutFile c_source_out;

// Derives the C source name from the image name: the extension of the last
// path component becomes ".c" (a full stop in a folder name does not count,
// so the C file always lands beside the image); without one ".c" is appended.
// Returns false when the name does not fit.
bool derive_c_source_name(std::string_view image_name, std::array<char, C_SOURCE_NAME_SIZE>& name)
{
    std::size_t slash = image_name.find_last_of('/');
    std::size_t component = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t dot = image_name.find_last_of('.');
    std::size_t stem = (dot == std::string_view::npos || dot < component) ? image_name.size() : dot;
    if (stem + 2 >= name.size()) {
        return false;
    }
    std::memcpy(name.data(), image_name.data(), stem);
    std::memcpy(name.data() + stem, ".c", 3);
    return true;
}

// Marks that the image writer uses to find names and identifiers again in the
// table text, and that would break the generated C as well.
bool holds_any(const char* text, std::string_view marks)
{
    return std::string_view(text).find_first_of(marks) != std::string_view::npos;
}

int refuse_entry(const CollectionRun& run, const char* what)
{
    std::printf("Specified input file number %i %s. Terminating\n\n", run.file_number, what);
    return EXIT_CAPACITY;
}

// Handles one entry of the -f run: table entry, array, image bytes, progress line.
int add_collection_file(CollectionRun& run, int in_fd)
{
    if (file_lengths().size() == MAX_FILES) {
        ::close(in_fd);
        return refuse_entry(run, "exceeds the limit of 128 files");
    }
    if (holds_any(run.path.data(), ",\"")) {
        ::close(in_fd);
        return refuse_entry(run, "has a comma or a double quote in its path");
    }
    if (holds_any(run.mime.data(), ",{}") || holds_any(run.visibility.data(), ",{}")) {
        ::close(in_fd);
        return refuse_entry(run, "has a comma or a brace in an identifier");
    }
    std::array<char, PATH_BUFFER_SIZE> path_as_written = run.path;
    if (!add_table_entry(0, run.path.data(), nullptr, nullptr, run.flags)) {
        ::close(in_fd);
        return refuse_entry(run, "does not fit into the table text");
    }
    make_array_name(run.path.data());
    if (!add_table_entry(1, run.path.data(), run.mime.data(), run.visibility.data(), run.flags)) {
        ::close(in_fd);
        return refuse_entry(run, "does not fit into the table text");
    }
    EmitStatus status = emit_file_array(in_fd, c_source_out, run.path.data(), run.flags, image_out);
    ::close(in_fd);
    switch (status) {
    case EmitStatus::ok:
        break;
    case EmitStatus::too_large:
        std::printf("Input file %s larger than %zu bytes. Terminating\n\n", path_as_written.data(),
                    INPUT_BUFFER_SIZE);
        return EXIT_CAPACITY;
    case EmitStatus::too_many_files:
        return refuse_entry(run, "exceeds the limit of 128 files");
    case EmitStatus::read_failed:
        std::printf("Specified input file number %i not found. Terminating\n\n", run.file_number);
        return EXIT_ENTRY_FILE_MISSING;
    }
    std::printf("Adding file %s \n", run.path.data());
    return EXIT_OK;
}

// With 2-byte length fields a file over 65,535 bytes would be recorded with a
// wrong length; the loader would then read a truncated file.
int check_length_fields()
{
    if (lookup_definition("MAX_FILE_LENGTH") == 4) {
        return EXIT_OK;
    }
    std::span<const std::int32_t> lengths = file_lengths();
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (static_cast<std::uint32_t>(lengths[i]) > LARGEST_TWO_BYTE_LENGTH) {
            std::string_view name = table_entry_name(i);
            std::printf("Input file %.*s longer than 65535 bytes needs #define MAX_FILE_LENGTH 4. Terminating\n\n",
                        static_cast<int>(name.size()), name.data());
            return EXIT_CAPACITY;
        }
    }
    return EXIT_OK;
}

// Ends the run early: what was written so far stays in the outputs.
int stop_run(int code)
{
    out_close(c_source_out);
    out_close(image_out);
    return code;
}

}  // namespace

int write_run_depfile(const DepfileList& deps)
{
    if (!depfile_write(deps)) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    return EXIT_OK;
}

int write_single_depfile(const char* depfile_path, const char* output_path, const char* input_path)
{
    if (depfile_path == nullptr) {
        return EXIT_OK;
    }
    DepfileList deps;
    depfile_start(deps, depfile_path);
    depfile_add(deps, DepRole::target, output_path);
    depfile_add(deps, DepRole::prerequisite, input_path);
    return write_run_depfile(deps);
}

int collection_open_control(CollectionRun& run, const char* control_path)
{
    int fd = open_input(control_path);
    if (fd < 0) {
        std::printf("Control file could not be found. Terminating\n\n");
        return EXIT_CONTROL_FILE_MISSING;
    }
    control_attach(run.control, fd);
    depfile_add(run.deps, DepRole::prerequisite, control_path);
    return EXIT_OK;
}

int collection_next_entry(CollectionRun& run, std::span<const int> output_fds, int& in_fd)
{
    in_fd = -1;
    int result = next_control_entry(run.control, run.flags, run.path, run.mime, run.visibility);
    if ((run.flags & OPT_END_OF_LIST) != 0) {
        return -1;
    }
    if (result == CONTROL_OVER_CAPACITY) {
        return EXIT_CAPACITY;
    }
    if (result < 0) {
        std::printf("Specified input file number %i not found. Terminating\n\n", run.file_number);
        return EXIT_ENTRY_FILE_MISSING;
    }
    for (int out_fd : output_fds) {
        if (same_open_file(result, out_fd)) {
            ::close(result);
            std::printf("Specified input file number %i is an output file of this run. Terminating\n\n",
                        run.file_number);
            return EXIT_ENTRY_FILE_MISSING;
        }
    }
    // The dependency file names the file as opened: '?' in a name stands for '-'.
    std::array<char, PATH_BUFFER_SIZE> opened = run.path;
    std::replace(opened.begin(), opened.end(), '?', '-');
    if (!depfile_add(run.deps, DepRole::prerequisite, opened.data())) {
        ::close(result);
        return refuse_entry(run, "exceeds the limit of 128 files");
    }
    in_fd = result;
    return EXIT_OK;
}

void collection_entry_done(CollectionRun& run)
{
    run.flags &= ~OPT_PARAMETER_NAME;
    ++run.file_number;
}

int run_file_collection(int argc, char** argv, const char* depfile_path)
{
    static CollectionRun run;
    run = CollectionRun{};
    depfile_start(run.deps, depfile_path);
    const char* control_path = argc > 2 ? argv[2] : nullptr;
    const char* image_path = argc > 3 ? argv[3] : nullptr;

    int code = collection_open_control(run, control_path);
    if (code != EXIT_OK) {
        return code;
    }
    std::array<char, C_SOURCE_NAME_SIZE> c_source_name{};
    if (image_path == nullptr) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    if (!derive_c_source_name(image_path, c_source_name)) {
        std::printf("C source file name for %s longer than 99 characters. Terminating\n\n", image_path);
        return EXIT_CAPACITY;
    }
    if (std::strcmp(c_source_name.data(), image_path) == 0) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    // Creating an output truncates it: never let that destroy the control file.
    for (const char* output : {image_path, static_cast<const char*>(c_source_name.data())}) {
        if (path_is_open_file(output, run.control.fd)) {
            std::printf("Output file %s is the same file as an input. Terminating\n\n", output);
            return EXIT_OUTPUT_FAILED;
        }
    }
    int image_fd = create_output(image_path);
    if (image_fd < 0) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    out_attach(image_out, image_fd);
    // Two spellings of one file (a link) would interleave both outputs.
    if (path_is_open_file(c_source_name.data(), image_fd)) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return stop_run(EXIT_OUTPUT_FAILED);
    }
    int c_source_fd = create_output(c_source_name.data());
    if (c_source_fd < 0) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return stop_run(EXIT_OUTPUT_FAILED);
    }
    out_attach(c_source_out, c_source_fd);

    const int outputs[] = {image_fd, c_source_fd};
    for (;;) {
        int in_fd = -1;
        code = collection_next_entry(run, outputs, in_fd);
        if (code < 0) {
            break;
        }
        if (code == EXIT_OK) {
            code = add_collection_file(run, in_fd);
        }
        if (code == EXIT_OK && (image_out.failed || c_source_out.failed)) {
            std::printf("%s", MSG_WRITE_FAILED);
            code = EXIT_OUTPUT_FAILED;
        }
        if (code != EXIT_OK) {
            return stop_run(code);
        }
        collection_entry_done(run);
    }

    code = check_length_fields();
    if (code != EXIT_OK) {
        return stop_run(code);
    }
    write_user_file_table(c_source_out);
    std::uint32_t table_location = write_collection_image(image_out);
    bool written = out_close(c_source_out);
    written = out_close(image_out) && written;
    if (!written) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_OUTPUT_FAILED;
    }
    depfile_add(run.deps, DepRole::target, image_path);
    depfile_add(run.deps, DepRole::target, c_source_name.data());
    code = write_run_depfile(run.deps);
    if (code != EXIT_OK) {
        return code;
    }
    std::printf("Output files %s and %s successfully created using%s\n", image_path, c_source_name.data(),
                VERSION_LINE);
    std::printf("Embedded user file collection target address = 0x%x\n", control_target_address());
    std::printf("Embedded user table location = 0x%x\n\n\n", table_location);
    ::close(run.control.fd);
    return EXIT_OK;
}
