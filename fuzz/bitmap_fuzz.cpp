// Arbitrary bytes as a bitmap, with every flag combination, written to a
// shared output as the -fb run does; the same bytes as C text for the GLCD
// array decoder, which must stay inside them.
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>

#include "filecreate/bitmap/bitmap_reader.hpp"
#include "fuzz/fuzz_support.hpp"
#include "formats/glcd_array.hpp"
#include "filecreate/run_record.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto run = std::make_unique<FileCreateRun>();
    OutFile& out = run->common_output;
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    glcd_find_arrays(std::string_view(reinterpret_cast<const char*>(data), size));

    const std::uint32_t flags = OPT_SHARED_OUTPUT | (data[0] & (OPT_INVERT | OPT_REVERSE_ROWS | OPT_WRITE_BANNER));
    std::string path = fuzz_write("in.bmp", data + 1, size - 1);
    out_attach(out, ::open("/dev/null", O_WRONLY));
    int in_fd = ::open(path.c_str(), O_RDONLY);
    BitmapWork work{run->bitmap_in, run->bitmap_output, run->input, (data[0] & 1) != 0 ? "panel" : ""};
    convert_bitmap(work, nullptr, "panel.c", flags, in_fd, &out);
    out_close(out);
    return 0;
}
