#include "filecreate/request.hpp"

#include <cstring>

FileCreateRequest read_filecreate_request(int argc, char** argv)
{
    FileCreateRequest request;
    if (argc < 2 || argv[1] == nullptr) {
        return request;
    }
    const char* mode = argv[1];
    const char* second = argc > 2 ? argv[2] : nullptr;
    const char* third = argc > 3 ? argv[3] : nullptr;
    request.mode_word = mode;
    if (std::strcmp(mode, "--help") == 0) {
        request.mode = FileCreateMode::help;
    } else if (std::strcmp(mode, "-v") == 0) {
        request.mode = FileCreateMode::version;
    } else if (std::strcmp(mode, "-f") == 0 || std::strcmp(mode, "-fb") == 0) {
        request.mode = mode[2] == 'b' ? FileCreateMode::bitmap_collection : FileCreateMode::file_collection;
        request.control = second;
        request.output = third;
    } else if (std::strncmp(mode, "-bm", 3) == 0) {
        request.mode = FileCreateMode::single_bitmap;
        request.input = second;
        request.output = third;
    } else {
        request.mode = FileCreateMode::single_file;
        request.input = mode;
        request.output = second;
        request.array_name = third != nullptr && third[0] != '\0' ? third : nullptr;
    }
    return request;
}
