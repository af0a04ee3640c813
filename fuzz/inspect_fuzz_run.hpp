// One KorvaneInspect run inside a fuzz target: a fresh run record for every
// input, the words as its command line, in the scratch folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.hpp"
#include "inspect/inspect_main.hpp"

inline int fuzz_inspect(std::vector<std::string> words)
{
    words.insert(words.begin(), "KorvaneInspect");
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    auto run = std::make_unique_for_overwrite<InspectRun>();
    const int code = inspect_main(*run, static_cast<int>(words.size()), argv.data());
    end_inspect_run(*run);
    return code;
}
