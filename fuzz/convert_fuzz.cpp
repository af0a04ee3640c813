// KorvaneConvert end to end: the input holds up to seven NUL-separated
// arguments 3 onward, then the bytes of the input file.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.hpp"
#include "convert/convert_main.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz_scratch();
    std::vector<std::string> args = {"KorvaneConvert", "in.bin", "out.bin"};
    std::size_t pos = 0;
    std::size_t count = size > 0 ? data[0] % 6 : 0;
    pos = size > 0 ? 1 : 0;
    for (std::size_t i = 0; i < count && pos < size; ++i) {
        const void* end = std::memchr(data + pos, 0, size - pos);
        std::size_t len = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (data + pos)) : size - pos;
        args.emplace_back(reinterpret_cast<const char*>(data + pos), len);
        pos += len + 1;
    }
    if (pos > size) {
        pos = size;
    }
    fuzz_write("in.bin", data + pos, size - pos);
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    convert_main(static_cast<int>(args.size()), argv.data());
    return 0;
}
