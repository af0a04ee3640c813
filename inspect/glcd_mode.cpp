#include "inspect/glcd_mode.hpp"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "io/file_access.hpp"
#include "inspect/glcd_pictures.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/inspect_output.hpp"

namespace {

// An array without a name in the text is called what an unnamed array is called.
std::string_view shown_name(const GlcdArray& array)
{
    return array.name.empty() ? std::string_view("array") : std::string_view(array.name);
}

// DIR/NAME.pbm; a name that an earlier array of the file already has gets
// "_N", N being the array's number in the file (from 1), so no file of the
// run overwrites another.
std::string pbm_path(const char* folder, const std::vector<GlcdArray>& arrays, std::size_t index)
{
    std::string path = std::string(folder) + "/" + std::string(shown_name(arrays[index]));
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
        if (shown_name(arrays[earlier]) == shown_name(arrays[index])) {
            path += "_" + std::to_string(index + 1);
            break;
        }
    }
    return path + ".pbm";
}

int write_pbm(InspectRun& run, const std::vector<GlcdArray>& arrays, std::size_t index, const char* folder,
              int input_fd)
{
    const GlcdArray& array = arrays[index];
    const std::string path = pbm_path(folder, arrays, index);
    int code = open_output(run.out, path.c_str(), input_fd);
    if (code != EXIT_OK) {
        return code;
    }
    write_glcd_pbm(array, run.out);
    code = close_output(run.out, path.c_str());
    if (code == EXIT_OK) {
        std::printf(MSG_GLCD_WRITTEN, std::string(shown_name(array)).c_str(), static_cast<unsigned>(array.width),
                    static_cast<unsigned>(array.height), path.c_str());
    }
    return code;
}

int show_arrays(InspectRun& run, const InspectRequest& request, const char* path, int fd)
{
    const char* wanted = request.arg_count > 3 ? request.args[3] : nullptr;
    const std::vector<GlcdArray> arrays =
        glcd_find_arrays(std::string_view(reinterpret_cast<const char*>(run.file.data), run.file.size));
    bool shown = false;
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        const GlcdArray& array = arrays[i];
        if (wanted != nullptr && array.name != wanted) {
            continue;
        }
        shown = true;
        if (request.pbm_folder != nullptr) {
            if (int code = write_pbm(run, arrays, i, request.pbm_folder, fd); code != EXIT_OK) {
                return code;
            }
            continue;
        }
        std::printf(MSG_GLCD_PICTURE, std::string(shown_name(array)).c_str(), static_cast<unsigned>(array.width),
                    static_cast<unsigned>(array.height));
        draw_glcd_picture(array, request.ascii, run.line, stdout);
        std::printf("\n");
    }
    if (!shown) {
        if (wanted == nullptr) {
            std::printf(MSG_NO_GLCD_ARRAY, path);
        } else {
            std::printf(MSG_NO_GLCD_NAMED, path, wanted);
        }
        return EXIT_NOT_READABLE;
    }
    return EXIT_OK;
}

}  // namespace

int run_glcd_mode(InspectRun& run, const InspectRequest& request)
{
    const char* path = request.args[2];
    int fd = open_input(path);
    if (fd < 0) {
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_OPENED, path);
        return EXIT_INPUT_FAILED;
    }
    int code = EXIT_OK;
    switch (read_file_bytes(fd, GLCD_TEXT_CAP, run.file)) {
    case FileRead::failed:
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_READ, path);
        code = EXIT_INPUT_FAILED;
        break;
    case FileRead::too_large:
        std::printf(MSG_FILE_TOO_LARGE, path, GLCD_TEXT_CAP);
        code = EXIT_NOT_READABLE;
        break;
    case FileRead::ok:
        code = show_arrays(run, request, path, fd);
        break;
    }
    ::close(fd);
    return code;
}
