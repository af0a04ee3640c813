#include "filecreate/run_depfile.hpp"

#include <cstdio>

#include "filecreate/messages.hpp"
#include "io/staged_outputs.hpp"

int finish_outputs(const DepfileList& deps)
{
    if (!depfile_write(deps)) {
        if (output_refused_as_strict()) {
            std::printf("%s", MSG_STRICT_WARNING);
            return EXIT_STRICT_WARNING;
        }
        std::printf("%s", MSG_OUTPUT_NOT_CREATED);
        return EXIT_OUTPUT_FAILED;
    }
    if (!commit_outputs()) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_OUTPUT_FAILED;
    }
    return EXIT_OK;
}

int finish_single_outputs(DepfileList& deps, const char* output_path, const char* input_path)
{
    depfile_add(deps, DepRole::target, output_path);
    depfile_add(deps, DepRole::prerequisite, input_path);
    return finish_outputs(deps);
}
