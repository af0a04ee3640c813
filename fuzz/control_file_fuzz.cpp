// Arbitrary bytes as a control file, read to its end as the -f run reads it.
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "collection_run.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool ready = [] {
        fuzz_scratch();
        for (const char* name : {"a.htm", "b-c.xml", "x.bmp", "ab.htm"}) {
            fuzz_write(name, reinterpret_cast<const std::uint8_t*>("data"), 4);
        }
        return true;
    }();
    (void)ready;
    reset_control_state();
    std::string path = fuzz_write("control.txt", data, size);
    ControlFile control;
    control_attach(control, ::open(path.c_str(), O_RDONLY));
    std::uint32_t flags = OPT_WRITE_BANNER;
    std::array<char, PATH_BUFFER_SIZE> entry{};
    std::array<char, MIME_BUFFER_SIZE> mime{};
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};
    for (int entries = 0; entries < 100000; ++entries) {
        int fd = next_control_entry(control, flags, entry, mime, visibility);
        if ((flags & OPT_END_OF_LIST) != 0 || fd == CONTROL_OVER_CAPACITY) {
            break;
        }
        if (fd >= 0) {
            ::close(fd);
        }
        // Every buffer handed out must hold a terminated text.
        if (std::char_traits<char>::length(entry.data()) >= entry.size() ||
            std::char_traits<char>::length(control_array_name()) >= ARRAY_NAME_SIZE) {
            __builtin_trap();
        }
        flags &= ~OPT_PARAMETER_NAME;
    }
    lookup_definition("ALIGN");
    ::close(control.fd);
    return 0;
}
