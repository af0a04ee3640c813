// Arbitrary bytes as a record input: the result is either the input itself
// or an image below the limit; nothing is read or written outside.
#include <cstring>
#include <vector>

#include "record_flattening.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::vector<unsigned char> buffer(IMAGE_LIMIT);
    static std::vector<unsigned char> work(IMAGE_LIMIT);
    if (size > IMAGE_LIMIT) {
        return 0;
    }
    std::memcpy(buffer.data(), data, size);
    std::uint32_t image = 0;
    bool flat = flatten_records_into(buffer.data(), static_cast<std::uint32_t>(size), work.data(), image);
    std::uint32_t result = flatten_records(buffer.data(), static_cast<std::uint32_t>(size), work.data());
    if (flat ? (result != image || result >= IMAGE_LIMIT)
             : (result != size || std::memcmp(buffer.data(), data, size) != 0)) {
        __builtin_trap();
    }
    return 0;
}
