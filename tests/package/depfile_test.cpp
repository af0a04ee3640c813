// The dependency file of each mode of the installed program (its outputs
// and messages unchanged with KORVANE_DEPFILE set), and Make and Ninja
// reading it back.
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <utime.h>

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

// Make and Ninja read back the names the file holds: with the outputs and
// entries below, a second build does nothing and touching any one name makes
// exactly one more run of the program.
TEST(Depfile, MakeAndNinjaRebuildOncePerTouchedName)
{
    const std::vector<std::string> entries = {"c:x.htm", "p(1).htm", "b]!@+~{}\xc3\xa9.htm", "in\\side.htm"};
    const std::string tool = "KORVANE_DEPFILE=deps.d " + installed_program("KorvaneFileCreate") +
                             " -f ctl.txt 'o u#t$$.bin' >/dev/null 2>&1 && echo >> runs";  // $$: both expand $
    const std::pair<std::string, std::string> builds[] = {
        {"make -s >/dev/null 2>&1", "o\\ u\\#t$$.bin: ctl.txt\n\t" + tool + "\n-include deps.d\n"},
        {"ninja >/dev/null 2>&1", "rule fc\n  command = " + tool + "\n  depfile = deps.d\n  deps = gcc\n"
                                  "build o$ u#t$$.bin o$ u#t$$.c: fc ctl.txt\n"},
    };
    for (auto [build, rules] : builds) {
        SCOPED_TRACE(build);
        ScratchDir dir;
        if (build[0] == 'm') {
            rules = dir.path + "/" + rules;  // the name the file gives: Make compares names, not files
        }
        std::string control;
        for (const std::string& entry : entries) {
            write_file(dir / entry, entry);
            control += entry + " \n";
        }
        write_file(dir / "ctl.txt", control);
        write_file(dir / (build[0] == 'm' ? "Makefile" : "build.ninja"), rules);
        const std::string run = "cd '" + dir.path + "' && " + build;
        auto runs = [&] { return read_file(dir / "runs").size(); };
        ASSERT_EQ(std::system(run.c_str()), 0);
        ASSERT_EQ(std::system(run.c_str()), 0);
        EXPECT_EQ(runs(), 1u);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ASSERT_EQ(::utime((dir / entries[i]).c_str(), nullptr), 0);
            ASSERT_EQ(std::system(run.c_str()), 0);
            ASSERT_EQ(std::system(run.c_str()), 0);
            EXPECT_EQ(runs(), i + 2) << entries[i];
        }
    }
}

}  // namespace
