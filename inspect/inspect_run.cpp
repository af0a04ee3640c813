#include "inspect/inspect_run.hpp"

#include <unistd.h>

void end_inspect_run(InspectRun& run)
{
    if (run.control.fd >= 0) {
        ::close(run.control.fd);
        run.control.fd = -1;
    }
    for (std::size_t i = 0; i < run.entry_count; ++i) {
        if (run.entries[i].fd >= 0) {
            ::close(run.entries[i].fd);
            run.entries[i].fd = -1;
        }
    }
    release_bytes(run.file);
    release_bytes(run.plain);
    release_bytes(run.firmware);
    release_bytes(run.firmware_image);
}
