#include "inspect/inspect_diagnostics.hpp"

#include <cstdio>
#include <cstring>

void explain_file_error(const char* path, int error)
{
    // Standard output first, so that on a shared terminal the lines keep their order.
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneInspect: %s: %s\n", path, std::strerror(error));
}
