#include "filecreate/messages.hpp"

#include <cstdio>

void print_same_file_as_input(const char* output_path)
{
    std::printf("Output file %s is the same file as an input. Terminating\n\n", output_path);
}
