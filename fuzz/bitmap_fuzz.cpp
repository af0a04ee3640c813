// Arbitrary bytes as a bitmap, with every flag combination, written to a
// shared output as the -fb run does.
#include <fcntl.h>
#include <unistd.h>

#include "bitmap_reader.hpp"
#include "control_file.hpp"
#include "fuzz_support.hpp"
#include "run_flags.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static OutFile out;
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    const std::uint32_t flags = OPT_SHARED_OUTPUT | (data[0] & (OPT_INVERT | OPT_REVERSE_ROWS | OPT_WRITE_BANNER));
    std::string path = fuzz_write("in.bmp", data + 1, size - 1);
    out_attach(out, ::open("/dev/null", O_WRONLY));
    int in_fd = ::open(path.c_str(), O_RDONLY);
    convert_bitmap(nullptr, "panel.c", flags, in_fd, &out);
    out_close(out);
    return 0;
}
