#include "inspect/inspect_diagnostics.hpp"

#include <cstdio>
#include <cstring>

#include "formats/upload_arguments.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/inspect_run.hpp"

void explain_file_error(const char* path, int error)
{
    // Standard output first, so that on a shared terminal the lines keep their order.
    std::fflush(stdout);
    std::fprintf(stderr, "KorvaneInspect: %s: %s\n", path, std::strerror(error));
}

bool warn_arguments(const ArgumentReading& reading)
{
    for (std::size_t i = 0; i < reading.note_count; ++i) {
        const ArgumentNote& note = reading.notes[i];
        std::fflush(stdout);
        std::fprintf(stderr, "KorvaneInspect: warning: %s (argument %d)\n", describe_argument_note(note).data(),
                     note.argument);
    }
    return reading.note_count > 0;
}

int strict_warning_code(const InspectRun& run)
{
    if (!run.strict) {
        return EXIT_OK;
    }
    std::printf("%s", MSG_STRICT_WARNING);
    return EXIT_STRICT_WARNING;
}
