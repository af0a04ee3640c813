// Running -bm on a bitmap in a scratch folder, for the GLCD array tests.
#pragma once

#include <string>

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
    c.run = run_program(installed_program("KorvaneFileCreate"), {mode, dir / "in.bmp", dir / "out.c"});
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
