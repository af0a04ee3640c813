// The dependency file: escaping that Make and Ninja read back, relative names,
// whole-or-nothing writing, and what each mode of the installed program
// writes with KORVANE_DEPFILE set (its outputs and messages unchanged).
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "io/depfile.hpp"
#include "io/staged_outputs.hpp"
#include "tests/common/test_support.hpp"

namespace {

mode_t umask_now()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

TEST(Depfile, EscapingRelativeNamesAndFailures)
{
    ScratchDir dir;
    char here[PATH_MAX];
    const std::string path = dir / "x.d", cwd = ::getcwd(here, sizeof here);  // the list keeps path's pointer
    const std::pair<std::string, std::string> names[] = {
        {"/a b", "/a\\ b"}, {"/h#a", "/h\\#a"}, {"/d$x", "/d$$x"}, {"/c:x", "/c\\:x"}, {"/x(1).c", "/x(1).c"},
        {"/in\\side", "/in\\side"}, {"/bs\\ sp", "/bs\\\\\\ sp"}, {"/b]!,@+~{}\xc3\xa9", "/b]!,@+~{}\xc3\xa9"},
        {"./sub/../o.c", cwd + "/sub/../o.c"}, {"../in", cwd.substr(0, cwd.rfind('/')) + "/in"},
    };
    DepfileList list;
    for (const auto& [name, written] : names) {
        depfile_start(list, path.c_str());
        depfile_add(list, DepRole::target, "/out put");
        depfile_add(list, DepRole::prerequisite, "/control");
        depfile_add(list, DepRole::prerequisite, name);
        depfile_add(list, DepRole::prerequisite, name);  // recorded once
        ASSERT_TRUE(depfile_write(list));
        ASSERT_TRUE(commit_outputs());
        EXPECT_EQ(read_file(path), "/out\\ put: \\\n /control \\\n " + written + "\n" + written + ":\n");
    }
    // Names Make and Ninja cannot both read back, and a list that lost a name:
    // refused, the earlier file kept, no temporary left.
    const auto before = folder_state(dir.path);
    for (const char* name : {"/line\nend", "/t\tx", "/p%x", "/a=b", "/a;b", "/q?", "/w[1]", "/s*", "/x\x7f", "/x(1)",
                             "/end\\", "/h\\#a", "/c\\:x", "/a&b", "/a'b", "/a|b", "/a\"b", "/a<b", "/a^b", "/a`b"}) {
        depfile_add(list, DepRole::prerequisite, name);
        EXPECT_FALSE(depfile_write(list)) << name;
        discard_outputs();
        EXPECT_EQ(folder_state(dir.path), before);
        depfile_start(list, path.c_str());
    }
    for (int i = 0; i < 130; ++i) {
        depfile_add(list, DepRole::prerequisite, "/" + std::to_string(i));
    }
    EXPECT_FALSE(depfile_write(list));
    EXPECT_EQ(folder_state(dir.path), before);
}

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

// What the writer of whole outputs does with the kinds of file an output can
// be: bytes and kind of every name compared after the run is put in place
// (or discarded).
TEST(StagedOutputs, ModesLinksAndSpecialFiles)
{
    ScratchDir dir;
    write_file(dir / "kept", "old");
    ::chmod((dir / "kept").c_str(), 0640);
    write_file(dir / "target", "old");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    write_file(dir / "one", "old");
    ASSERT_EQ(::link((dir / "one").c_str(), (dir / "two").c_str()), 0);
    auto stage_and_write = [&](const std::string& name) {
        int fd = stage_output((name[0] == '/' ? name : dir / name).c_str());
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::write(fd, "new", 3), 3);
        ::close(fd);
    };
    const auto before = folder_state(dir.path);
    for (const char* name : {"kept", "link", "one", "fresh"}) {
        stage_and_write(name);
    }
    discard_outputs();
    EXPECT_EQ(folder_state(dir.path), before);
    for (const char* name : {"kept", "link", "one", "fresh"}) {
        stage_and_write(name);
    }
    stage_and_write("/dev/null");  // written in place: nothing beside it to rename
    ASSERT_TRUE(commit_outputs());
    std::map<std::string, std::string> after = before;
    after["kept"] = std::to_string(S_IFREG | 0640) + " 1 file new";
    after["target"] = after["fresh"] = std::to_string(S_IFREG | (0666 & ~umask_now())) + " 1 file new";
    after["one"] = after["fresh"];  // a new file: the other name keeps the old bytes
    after["two"] = std::to_string(S_IFREG | (0666 & ~umask_now())) + " 1 file old";
    EXPECT_EQ(folder_state(dir.path), after);
}

}  // namespace
