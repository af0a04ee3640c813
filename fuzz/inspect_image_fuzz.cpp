// KorvaneInspect image on arbitrary bytes: the first byte chooses the layout
// the control file gives (byte order, length width, alignment, header
// length), the rest is the image, checked against two entries with files.
#include <cstdio>
#include <string>

#include "fuzz/inspect_fuzz_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool ready = [] {
        fuzz_scratch();
        fuzz_write("a.htm", reinterpret_cast<const std::uint8_t*>("<p>  a  </p>\n"), 13);
        fuzz_write("b-c.xml", reinterpret_cast<const std::uint8_t*>("<x/>"), 4);
        return true;
    }();
    (void)ready;
    if (size < 1) {
        return 0;
    }
    const unsigned bits = data[0];
    char control[256];
    const int length = std::snprintf(control, sizeof control,
                                     "#define BIG_ENDIAN %u\n#define MAX_FILE_LENGTH %u\n#define ALIGN %u\n"
                                     "#define FILE_HEADER_LEN %u\n#define MIME_XML 4\n%%2000%X\n"
                                     "a.htm -w\nb?c.xml -t=MIME_XML -?\n",
                                     bits & 1, (bits & 2) != 0 ? 4u : 2u, (bits >> 2) & 1, (bits >> 3) & 3,
                                     bits >> 5);
    fuzz_write("ctl.txt", reinterpret_cast<const std::uint8_t*>(control), static_cast<std::size_t>(length));
    fuzz_write("img.bin", data + 1, size - 1);
    fuzz_inspect({"image", "ctl.txt", "img.bin"});
    return 0;
}
