// The installed KorvaneFileCreate: mode choice, version, single-file mode,
// its messages, exit codes and output files.
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

const std::string NOT_FOUND = "Input file could not be found. Terminating\n\n";
const std::string NOT_CREATED = "Output file could not be created. Terminating\n\n";

RunResult filecreate(const std::vector<std::string>& args, const std::string& cwd = "")
{
    return run_program(installed_program("KorvaneFileCreate"), args, cwd);
}

TEST(CommandLine, ModesMessagesAndExitCodes)
{
    ScratchDir dir;
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
    };
    const Case cases[] = {
        {{}, 0, "Arguments missing"},
        {{"-v"}, 0, "      KorvaneFileCreate V1.9\r\r\n"},
        {{"-v", "a", "b", "c"}, 0, "      KorvaneFileCreate V1.9\r\r\n"},
        {{"-F", "out.c"}, 3, NOT_FOUND},
        {{"-fx", "out.c"}, 3, NOT_FOUND},
        {{"-ff", "out.c"}, 3, NOT_FOUND},
        {{"-", "out.c"}, 3, NOT_FOUND},
        {{"missing.bin", "out.c"}, 3, NOT_FOUND},
        {{"."}, 3, NOT_FOUND},  // a folder is not an input file
        {{"-f"}, 1, "Control file could not be found. Terminating\n\n"},
        {{"-f", "missing.txt", "x.bin"}, 1, "Control file could not be found. Terminating\n\n"},
    };
    for (const auto& c : cases) {
        RunResult r = filecreate(c.args, dir.path);
        std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.exit_code, c.code) << shown;
        EXPECT_EQ(r.out, c.out) << shown;
        // Standard error: the usage text without arguments, the cause of an error, else nothing.
        bool err_as_expected = c.args.empty() ? r.err.starts_with("Usage: ")
                               : c.code == 0  ? r.err.empty()
                                              : r.err.starts_with("KorvaneFileCreate: ");
        EXPECT_TRUE(err_as_expected) << shown << ": " << r.err;
    }
    EXPECT_FALSE(file_exists(dir / "out.c"));
}

TEST(SingleFile, NamedAndUnnamedArrays)
{
    ScratchDir dir;
    write_file(dir / "in.bin", std::string("\x00\xff\x10", 3));
    RunResult named = filecreate({"in.bin", "named.c", "my_data"}, dir.path);
    EXPECT_EQ(named.exit_code, 0);
    EXPECT_EQ(named.out, "Output file named.c successfully generated\n\n");
    EXPECT_EQ(read_file(dir / "named.c"),
              "static const unsigned char my_data[] = {\r\n0x00,0xff,0x10,\r\n};\r\n\n");

    RunResult unnamed = filecreate({"in.bin", "plain.c"}, dir.path);
    EXPECT_EQ(unnamed.exit_code, 0);
    EXPECT_EQ(read_file(dir / "plain.c"), "static const unsigned char array[] = {\r\n0x00,0xff,0x10,\r\n};\r\n\n");

    // Text is not squeezed in this mode and no image is written.
    write_file(dir / "t.txt", "a  b\r\n");
    filecreate({"t.txt", "t.c"}, dir.path);
    EXPECT_EQ(read_file(dir / "t.c"),
              "static const unsigned char array[] = {\r\n0x61,0x20,0x20,0x62,0x0d,0x0a,\r\n};\r\n\n");

    write_file(dir / "empty", "");
    EXPECT_EQ(filecreate({"empty", "e.c"}, dir.path).exit_code, 0);
    EXPECT_EQ(read_file(dir / "e.c"), "static const unsigned char array[] = {\r\n};\r\n\n");
}

TEST(SingleFile, OutputThatCannotBeCreated)
{
    ScratchDir dir;
    write_file(dir / "in.bin", "abc");
    ::mkdir((dir / "folder").c_str(), 0755);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"in.bin", "folder"}, {"in.bin", "no/such/dir/out.c"}, {"in.bin"}, {"in.bin", ""}}) {
        RunResult r = filecreate(args, dir.path);
        EXPECT_EQ(r.exit_code, 4) << args.size();
        EXPECT_EQ(r.out, NOT_CREATED);
    }
}

TEST(SingleFile, LargestInputAndTheRefusalBeyondIt)
{
    ScratchDir dir;
    write_file(dir / "max.bin", std::string(1048576, 'x'));
    RunResult ok = filecreate({"max.bin", "max.c"}, dir.path);
    EXPECT_EQ(ok.exit_code, 0);
    EXPECT_EQ(read_file(dir / "max.c").size(), 40u + 32768u * 162u + 5u);

    write_file(dir / "over.bin", std::string(1048577, 'x'));
    RunResult over = filecreate({"over.bin", "over.c"}, dir.path);
    EXPECT_EQ(over.exit_code, 10);
    EXPECT_EQ(over.out, "Input file over.bin larger than 1048576 bytes. Terminating\n\n");
    EXPECT_EQ(read_file(dir / "over.c"), "");

    // The input is checked before the output is created, also one that
    // reports size 0 (as /proc files do): an existing output stays.
    write_file(dir / "over.c", "kept");
    std::vector<std::string> inputs = {"over.bin"};
    if (read_file("/proc/kallsyms").size() > 1048576) {
        inputs.push_back("/proc/kallsyms");
    }
    for (const std::string& input : inputs) {
        RunResult r = filecreate({input, "over.c"}, dir.path);
        EXPECT_EQ(r.exit_code, 10);
        EXPECT_EQ(r.out, "Input file " + input + " larger than 1048576 bytes. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "over.c"), "kept");
    }
    // Under the limit such a file is read whole: its own command line here.
    EXPECT_EQ(filecreate({"/proc/self/cmdline", "proc.c"}, dir.path).exit_code, 0);
    std::string cmdline = installed_program("KorvaneFileCreate") + std::string("\0/proc/self/cmdline\0proc.c\0", 27);
    EXPECT_EQ(read_file(dir / "proc.c").size(), 40 + cmdline.size() * 5 + (cmdline.size() + 31) / 32 * 2 + 5);
}

TEST(SingleFile, NeverDestroysItsInput)
{
    ScratchDir dir;
    const std::string data = "precious firmware data";
    write_file(dir / "data.bin", data);
    ASSERT_EQ(::link((dir / "data.bin").c_str(), (dir / "hard.bin").c_str()), 0);
    ASSERT_EQ(::symlink("data.bin", (dir / "soft.bin").c_str()), 0);
    for (const char* output : {"data.bin", "./data.bin", "hard.bin", "soft.bin"}) {
        RunResult r = filecreate({"data.bin", output}, dir.path);
        EXPECT_EQ(r.exit_code, 4) << output;
        EXPECT_EQ(r.out, std::string("Output file ") + output + " is the same file as an input. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "data.bin"), data) << output;
    }
}

TEST(SingleFile, FailedWriteIsReported)
{
    ScratchDir dir;
    write_file(dir / "in.bin", "abc");
    RunResult r = filecreate({"in.bin", "/dev/full"}, dir.path);
    EXPECT_EQ(r.exit_code, 4);
    EXPECT_EQ(r.out, "Output file write failed. Terminating\n\n");
}

}  // namespace
