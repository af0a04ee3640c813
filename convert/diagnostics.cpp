#include "convert/diagnostics.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

// Standard output is flushed first, so that where both streams share a
// terminal or a log the lines stand in the order they were printed.

void explain_input_not_opened(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: cannot open input file %s: %s\n", path, reason);
}

void explain_input_not_read(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneConvert: cannot read input file %s: %s\n", path, reason);
}

void explain_output_not_created(const char* path)
{
    const char* reason = std::strerror(errno);
    std::fflush(stdout);
    if (path == nullptr) {
        std::fprintf(stderr, "KorvaneConvert: no output file given\n");
    } else {
        std::fprintf(stderr, "KorvaneConvert: cannot create output file %s: %s\n", path, reason);
    }
}
