// KorvaneInspect upload on arbitrary bytes: up to five NUL-separated
// arguments 3 onward (as many as the first byte says), then the upload image;
// the recovered plain image is written when every check passes.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/inspect_fuzz_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    std::vector<std::string> words = {"upload", "in.upl"};
    std::size_t pos = 1;
    for (std::size_t i = 0; i < 1u + data[0] % 5 && pos < size; ++i) {
        const void* end = std::memchr(data + pos, 0, size - pos);
        const std::size_t len =
            end != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (data + pos)) : size - pos;
        words.emplace_back(reinterpret_cast<const char*>(data + pos), len);
        pos += len + 1;
    }
    if (pos > size) {
        pos = size;
    }
    if ((data[0] & 0x80) != 0) {
        words.insert(words.end(), {"--plain", "out.bin"});
    }
    fuzz_write("in.upl", data + pos, size - pos);
    fuzz_inspect(words);
    return 0;
}
