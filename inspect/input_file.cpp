#include "inspect/input_file.hpp"

#include <cerrno>
#include <cstdio>

#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "io/file_access.hpp"

int open_inspected(const char* path, int& fd)
{
    fd = open_input(path);
    if (fd < 0) {
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_OPENED, path);
        return EXIT_INPUT_FAILED;
    }
    return EXIT_OK;
}

int read_inspected(int fd, const char* path, std::size_t cap, FileBytes& bytes)
{
    switch (read_file_bytes(fd, cap, bytes)) {
    case FileRead::failed:
        explain_file_error(path, errno);
        std::printf(MSG_FILE_NOT_READ, path);
        return EXIT_INPUT_FAILED;
    case FileRead::too_large:
        std::printf(MSG_FILE_TOO_LARGE, path, cap);
        return EXIT_NOT_READABLE;
    case FileRead::ok:
        break;
    }
    return EXIT_OK;
}
