// The dependency file that each mode of the installed program writes with
// KORVANE_DEPFILE set (its outputs and messages unchanged).
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>

#include "tests/common/test_support.hpp"

namespace {

TEST(Depfile, EachModeNamesItsOutputsAndWhatItOpened)
{
    ScratchDir dir;
    char resolved[PATH_MAX];
    const std::string d = ::realpath(dir.path.c_str(), resolved);
    write_file(dir / "c.txt", "#define ALIGN 1 a.htm -w\nx?y.htm -?\n");
    write_file(dir / "a.htm", "<p> a </p>");
    write_file(dir / "x-y.htm", "b");
    write_file(dir / "logo.bmp", read_file(source_dir() + "/examples/bitmap/logo.bmp"));
    write_file(dir / "p.txt", "logo.bmp -n pic\n");
    const std::string bmp = " \\\n " + d + "/logo.bmp\n";
    struct Case {
        std::vector<std::string> args, outputs;
        std::string depfile;
    };
    const Case cases[] = {
        {{"-f", "c.txt", "o.bin"}, {"o.bin", "o.c"},
         d + "/o.bin " + d + "/o.c: \\\n " + d + "/c.txt \\\n " + d + "/a.htm \\\n " + d + "/x-y.htm\n" + d +
             "/a.htm:\n" + d + "/x-y.htm:\n"},
        {{"-fb", "p.txt", "p.c"}, {"p.c"}, d + "/p.c: \\\n " + d + "/p.txt" + bmp + d + "/logo.bmp:\n"},
        {{"-bmn", "logo.bmp", "l.c"}, {"l.c"}, d + "/l.c:" + bmp},
        {{"a.htm", "a.c"}, {"a.c"}, d + "/a.c: \\\n " + d + "/a.htm\n"},
    };
    for (const auto& c : cases) {
        ::unsetenv("KORVANE_DEPFILE");
        RunResult plain = run_program(installed_program("KorvaneFileCreate"), c.args, dir.path);
        std::vector<std::string> bytes;
        for (const auto& o : c.outputs) {
            bytes.push_back(read_file(dir / o));
        }
        EXPECT_FALSE(file_exists(dir / "deps.d"));
        ::setenv("KORVANE_DEPFILE", "deps.d", 1);
        RunResult with = run_program(installed_program("KorvaneFileCreate"), c.args, dir.path);
        EXPECT_EQ(with.exit_code, 0);
        EXPECT_EQ(with.out, plain.out);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            EXPECT_EQ(read_file(dir / c.outputs[i]), bytes[i]) << c.outputs[i];
        }
        EXPECT_EQ(read_file(dir / "deps.d"), c.depfile) << c.args[0];
        std::remove((dir / "deps.d").c_str());
    }
    // With the variable set, a bitmap collection holds the 128 entries of a file collection.
    std::string many;
    for (int i = 1; i <= 129; ++i) {
        write_file(dir / (std::to_string(i) + ".bmp"), read_file(dir / "logo.bmp"));
        many += std::to_string(i) + ".bmp x\n";
    }
    write_file(dir / "many.txt", many);
    RunResult over = run_program(installed_program("KorvaneFileCreate"), {"-fb", "many.txt", "m.c"}, dir.path);
    EXPECT_EQ(over.exit_code, 10);
    EXPECT_EQ(over.out, "Specified input file number 129 exceeds the limit of 128 files. Terminating\n\n");
    // A failed run leaves the earlier dependency file as it was.
    write_file(dir / "deps.d", "earlier");
    std::remove((dir / "x-y.htm").c_str());
    EXPECT_EQ(run_program(installed_program("KorvaneFileCreate"), {"-f", "c.txt", "o.bin"}, dir.path).exit_code, 2);
    EXPECT_EQ(read_file(dir / "deps.d"), "earlier");
    ::unsetenv("KORVANE_DEPFILE");
}

}  // namespace
