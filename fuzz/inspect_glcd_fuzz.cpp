// KorvaneInspect glcd on arbitrary C text, drawn with blocks or with '#' and
// '.', or written as PBM files, as the first byte says.
#include <string>
#include <vector>

#include "fuzz/inspect_fuzz_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz_scratch();
    if (size < 1) {
        return 0;
    }
    fuzz_write("in.c", data + 1, size - 1);
    std::vector<std::string> words = {"glcd", "in.c"};
    switch (data[0] % 4) {
    case 1: words.emplace_back("--ascii"); break;
    case 2: words.insert(words.end(), {"--pbm", "."}); break;
    case 3: words.emplace_back("array"); break;
    default: break;
    }
    fuzz_inspect(words);
    return 0;
}
