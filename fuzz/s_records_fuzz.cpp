#include "fuzz/toolchain_fuzz.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz_toolchain_input(data, size, InputFormat::s_records);
}
