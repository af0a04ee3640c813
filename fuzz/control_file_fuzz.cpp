// Arbitrary bytes as a control file, read to its end as the -f run reads it.
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "control/control_file.hpp"
#include "fuzz/fuzz_support.hpp"
#include "control/run_flags.hpp"

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
    std::string path = fuzz_write("control.txt", data, size);
    // What the parser uses of a run record, fresh for every input.
    auto control = std::make_unique<ControlFile>();
    auto settings = std::make_unique<ControlSettings>();
    EntryBuffers entry;
    control_attach(*control, ::open(path.c_str(), O_RDONLY));
    std::uint32_t flags = OPT_WRITE_BANNER;
    for (int entries = 0; entries < 100000; ++entries) {
        ControlEntry next = next_control_entry(*control, *settings, flags, entry);
        if (next.status == EntryStatus::end_of_list || next.status == EntryStatus::over_capacity) {
            break;
        }
        if (next.status == EntryStatus::entry) {
            ::close(next.fd);
        }
        // Every buffer handed out must hold a terminated text.
        if (std::char_traits<char>::length(entry.path.data()) >= entry.path.size() ||
            std::char_traits<char>::length(settings->array_name.data()) >= ARRAY_NAME_SIZE) {
            __builtin_trap();
        }
        flags &= ~OPT_PARAMETER_NAME;
    }
    lookup_definition(*settings, "ALIGN");
    ::close(control->fd);
    return 0;
}
