#include <cstdio>
#include <cstdlib>
#include <new>

#include "inspect/inspect_main.hpp"
#include "inspect/inspect_messages.hpp"

int main(int argc, char** argv)
{
    // The run record holds a 1 MiB buffer and more: it lives on the heap,
    // allocated once; the default initialisation leaves the large buffers
    // untouched until a mode uses them.
    void* memory = std::malloc(sizeof(InspectRun));
    if (memory == nullptr) {
        std::perror("KorvaneInspect");  // on standard error, in the system's words
        return EXIT_INPUT_FAILED;
    }
    auto* run = new (memory) InspectRun;
    int code = inspect_main(*run, argc, argv);
    end_inspect_run(*run);
    run->~InspectRun();
    std::free(memory);
    return code;
}
