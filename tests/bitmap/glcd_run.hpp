// Running -bm on a bitmap in a scratch folder, for the GLCD array tests: in
// this process, on a fresh run record, as main would run it.
#pragma once

#include <memory>
#include <string>

#include "filecreate/command_line.hpp"
#include "tests/common/test_support.hpp"

struct Converted {
    RunResult run;
    std::string array;   // the output file, empty when there is none
};

inline Converted convert(const std::string& bitmap, const std::string& mode = "-bm")
{
    ScratchDir dir;
    write_file(dir / "in.bmp", bitmap);
    Converted c;
    c.run = run_here("KorvaneFileCreate", {mode, dir / "in.bmp", dir / "out.c"}, [](int argc, char** argv) {
        auto run = std::make_unique_for_overwrite<FileCreateRun>();
        return filecreate_main(*run, argc, argv);
    });
    if (file_exists(dir / "out.c")) {
        c.array = read_file(dir / "out.c");
    }
    return c;
}

// An unnamed array of the given preamble and pixel value texts.
inline std::string array_of(const std::string& preamble, const std::string& values)
{
    return "static const unsigned char array[] = {\r\n" + preamble + "\r\n" + values + "};\r\n\n";
}
