// The dependency file: the escaping that Make and Ninja read back, names from
// the working directory, whole-or-nothing writing, and what each mode of the
// installed KorvaneFileCreate writes with KORVANE_DEPFILE set (and that its
// outputs and messages stay the same).
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "depfile.hpp"
#include "test_support.hpp"

namespace {

std::string physical(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? resolved : "";
}

TEST(Depfile, EscapesNamesAsMakeAndNinjaReadThem)
{
    ScratchDir dir;
    const std::string path = dir / "x.d";  // the list keeps the pointer
    const std::pair<std::string, std::string> names[] = {
        {"/a b", "/a\\ b"}, {"/h#a", "/h\\#a"}, {"/d$x", "/d$$x"}, {"/c:x", "/c\\:x"}, {"/p%x", "/p%x"},
        {"/in\\side", "/in\\side"}, {"/bs\\ sp", "/bs\\\\\\ sp"}, {"/end\\", "/end\\\\"}, {"/t\tx", "/t\\\tx"},
    };
    for (const auto& [name, written] : names) {
        DepfileList list;
        depfile_start(list, path.c_str());
        depfile_add(list, DepRole::target, "/out put");
        depfile_add(list, DepRole::prerequisite, "/control");
        depfile_add(list, DepRole::prerequisite, name);
        depfile_add(list, DepRole::prerequisite, name);  // recorded once
        ASSERT_TRUE(depfile_write(list));
        EXPECT_EQ(read_file(dir / "x.d"), "/out\\ put: \\\n /control \\\n " + written + "\n" + written + ":\n");
    }
}

TEST(Depfile, RelativeNamesWholeOrNothing)
{
    ScratchDir dir;
    const std::string cwd = physical("."), path = dir / "x.d";
    DepfileList list;
    depfile_start(list, path.c_str());
    depfile_add(list, DepRole::target, "./sub/../o.c");
    depfile_add(list, DepRole::prerequisite, "../in");
    ASSERT_TRUE(depfile_write(list));
    std::string text = cwd + "/sub/../o.c: \\\n " + cwd.substr(0, cwd.rfind('/')) + "/in\n";
    EXPECT_EQ(read_file(dir / "x.d"), text);

    depfile_add(list, DepRole::prerequisite, "/line\nend");
    EXPECT_FALSE(depfile_write(list));
    for (int i = 0; i < 128; ++i) {
        depfile_add(list, DepRole::prerequisite, "/" + std::to_string(i));
    }
    EXPECT_FALSE(depfile_write(list));
    EXPECT_EQ(read_file(dir / "x.d"), text);
    EXPECT_FALSE(file_exists(dir / "x.d.tmp"));
    depfile_start(list, "");  // none asked for
    EXPECT_TRUE(depfile_add(list, DepRole::target, "/y") && depfile_write(list));
}

TEST(Depfile, EachModeNamesItsOutputsAndWhatItOpened)
{
    ScratchDir dir;
    const std::string d = physical(dir.path);
    write_file(dir / "c.txt", "#define ALIGN 1 a.htm -w\nx?y.htm -?\n");
    write_file(dir / "a.htm", "<p> a </p>");
    write_file(dir / "x-y.htm", "b");
    write_file(dir / "logo.bmp", read_file(source_dir() + "/examples/bitmap/logo.bmp"));
    write_file(dir / "p.txt", "logo.bmp -n pic\n");
    struct Case {
        std::vector<std::string> args, outputs;
        std::string depfile;
    };
    const Case cases[] = {
        {{"-f", "c.txt", "o.bin"}, {"o.bin", "o.c"},
         d + "/o.bin " + d + "/o.c: \\\n " + d + "/c.txt \\\n " + d + "/a.htm \\\n " + d + "/x-y.htm\n" + d +
             "/a.htm:\n" + d + "/x-y.htm:\n"},
        {{"-fb", "p.txt", "p.c"}, {"p.c"}, d + "/p.c: \\\n " + d + "/p.txt \\\n " + d + "/logo.bmp\n" + d + "/logo.bmp:\n"},
        {{"-bmn", "logo.bmp", "l.c"}, {"l.c"}, d + "/l.c: \\\n " + d + "/logo.bmp\n"},
        {{"a.htm", "a.c"}, {"a.c"}, d + "/a.c: \\\n " + d + "/a.htm\n"},
    };
    for (const auto& c : cases) {
        ::unsetenv("KORVANE_DEPFILE");
        RunResult plain = run_program(installed_program("KorvaneFileCreate"), c.args, dir.path);
        std::vector<std::string> outputs;
        for (const auto& o : c.outputs) {
            outputs.push_back(read_file(dir / o));
        }
        EXPECT_FALSE(file_exists(dir / "deps.d"));
        ::setenv("KORVANE_DEPFILE", "deps.d", 1);
        RunResult with = run_program(installed_program("KorvaneFileCreate"), c.args, dir.path);
        EXPECT_EQ(with.exit_code, 0);
        EXPECT_EQ(with.out, plain.out);
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            EXPECT_EQ(read_file(dir / c.outputs[i]), outputs[i]) << c.outputs[i];
        }
        EXPECT_EQ(read_file(dir / "deps.d"), c.depfile) << c.args[0];
        std::remove((dir / "deps.d").c_str());
    }
    // A failed run leaves an earlier dependency file as it was.
    write_file(dir / "deps.d", "earlier");
    std::remove((dir / "x-y.htm").c_str());
    EXPECT_EQ(run_program(installed_program("KorvaneFileCreate"), {"-f", "c.txt", "o.bin"}, dir.path).exit_code, 2);
    EXPECT_EQ(read_file(dir / "deps.d"), "earlier");
    ::unsetenv("KORVANE_DEPFILE");
}

}  // namespace
