#include "filecreate/run_depfile.hpp"

#include <cstdio>

#include "filecreate/messages.hpp"

int write_run_depfile(const DepfileList& deps)
{
    if (!depfile_write(deps)) {
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    return EXIT_OK;
}

int write_single_depfile(DepfileList& deps, const char* output_path, const char* input_path)
{
    depfile_add(deps, DepRole::target, output_path);
    depfile_add(deps, DepRole::prerequisite, input_path);
    return write_run_depfile(deps);
}
