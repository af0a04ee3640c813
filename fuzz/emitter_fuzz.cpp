// Arbitrary bytes as an input file of the emitter, squeezing on and off,
// checked against the rule that the image holds exactly the array's values.
#include <fcntl.h>
#include <unistd.h>

#include "c_emitter.hpp"
#include "fuzz_support.hpp"
#include "run_flags.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static OutFile c_source;
    static OutFile image;
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    reset_emitter_state();
    const std::uint32_t flags = data[0] & OPT_SQUEEZE_SPACE;
    std::string path = fuzz_write("in.bin", data + 1, size - 1);
    out_attach(c_source, ::open("/dev/null", O_WRONLY));
    out_attach(image, ::open((fuzz_scratch() + "/image.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    int in_fd = ::open(path.c_str(), O_RDONLY);
    EmitStatus status = emit_file_array(in_fd, c_source, "_x", flags, image);
    ::close(in_fd);
    out_close(c_source);
    out_close(image);
    if (status == EmitStatus::ok) {
        int fd = ::open((fuzz_scratch() + "/image.bin").c_str(), O_RDONLY);
        off_t image_size = ::lseek(fd, 0, SEEK_END);
        ::close(fd);
        if (file_lengths().size() != 1 || file_lengths()[0] != image_size ||
            (flags == 0 && static_cast<std::size_t>(image_size) != size - 1)) {
            __builtin_trap();
        }
    }
    return 0;
}
