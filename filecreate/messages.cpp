#include "filecreate/messages.hpp"

#include <cstdio>

void print_over_capacity(ControlLimit limit, unsigned line)
{
    switch (limit) {
    case ControlLimit::definitions: std::printf(MSG_TOO_MANY_DEFINITIONS, line); break;
    case ControlLimit::definition_name: std::printf(MSG_DEFINITION_NAME_TOO_LONG, line); break;
    case ControlLimit::number: std::printf(MSG_NUMBER_TOO_LONG, line); break;
    case ControlLimit::path: std::printf(MSG_PATH_TOO_LONG, line); break;
    case ControlLimit::mime: std::printf(MSG_MIME_TOO_LONG, line); break;
    case ControlLimit::visibility: std::printf(MSG_VISIBILITY_TOO_LONG, line); break;
    case ControlLimit::none: break;
    }
}

void print_same_file_as_input(const char* output_path)
{
    std::printf("Output file %s is the same file as an input. Terminating\n\n", output_path);
}
