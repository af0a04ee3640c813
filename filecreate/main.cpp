#include <cstdio>
#include <cstdlib>
#include <new>

#include "filecreate/command_line.hpp"
#include "filecreate/messages.hpp"

int main(int argc, char** argv)
{
    // The run record is large (its input buffer alone is 1 MiB): it lives on
    // the heap, allocated once for the whole run. malloc and a placement new
    // rather than operator new, so that the program needs no C++ runtime
    // library at run time and starts as fast as before; the default
    // initialisation leaves the large buffers untouched until they are used.
    void* memory = std::malloc(sizeof(FileCreateRun));
    if (memory == nullptr) {
        std::perror("KorvaneFileCreate");  // on standard error, in the system's words
        return EXIT_CAPACITY;
    }
    auto* run = new (memory) FileCreateRun;
    int code = filecreate_main(*run, argc, argv);
    run->~FileCreateRun();
    std::free(memory);
    return code;
}
