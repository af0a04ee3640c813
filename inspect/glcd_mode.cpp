#include "inspect/glcd_mode.hpp"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

#include "io/file_access.hpp"
#include "inspect/glcd_pictures.hpp"
#include "inspect/input_file.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/inspect_output.hpp"
#include "inspect/picture_names.hpp"

namespace {

// An array without a name in the text is called what an unnamed array is called.
std::string_view shown_name(const GlcdArray& array)
{
    return array.name.empty() ? std::string_view("array") : std::string_view(array.name);
}

// DIR/NAME.pbm; where an earlier picture of the run has that file name,
// "_N" is added, N being the array's number in the file (from 1), counted on
// while that name too is taken, so that no picture of the run overwrites
// another. One look-up a try: a file of many arrays is named in linear time.
std::string pbm_path(const char* folder, const GlcdArray& array, std::size_t index, PictureNames& taken)
{
    const std::string base = std::string(shown_name(array));
    std::string name = base;
    for (std::size_t number = index + 1; !take_picture_name(taken, name); ++number) {
        name = base + "_" + std::to_string(number);
    }
    return std::string(folder) + "/" + name + ".pbm";
}

int write_pbm(InspectRun& run, const GlcdArray& array, const std::string& path, int input_fd)
{
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
    const std::string_view text(reinterpret_cast<const char*>(run.file.data), run.file.size);
    bool shown = false;
    PictureNames taken;
    GlcdScan scan;
    GlcdArray array;
    // One array at a time: memory holds the file and the array at hand.
    for (std::size_t i = 0; glcd_next_array(text, scan, array); ++i) {
        if (wanted != nullptr && array.name != wanted) {
            continue;
        }
        shown = true;
        if (request.pbm_folder != nullptr) {
            const std::string file = pbm_path(request.pbm_folder, array, i, taken);
            if (int code = write_pbm(run, array, file, fd); code != EXIT_OK) {
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
    int fd = -1;
    int code = open_inspected(path, fd);
    if (code != EXIT_OK) {
        return code;
    }
    code = read_inspected(fd, path, GLCD_TEXT_CAP, run.file);
    if (code == EXIT_OK) {
        code = show_arrays(run, request, path, fd);
    }
    ::close(fd);
    return code;
}
