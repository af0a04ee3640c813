// The installed KorvaneFileCreate where a case folder cannot hold the setting
// (hard links, inputs over 64 KiB and 1 MiB, files of /proc); every other
// command-line behaviour is a case folder in tests/golden/KorvaneFileCreate.
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

RunResult filecreate(const std::vector<std::string>& args, const std::string& cwd = "")
{
    return run_program(installed_program("KorvaneFileCreate"), args, cwd);
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

TEST(SingleFile, NeverDestroysItsInputThroughAHardLink)
{
    ScratchDir dir;
    const std::string data = "precious firmware data";
    write_file(dir / "data.bin", data);
    ASSERT_EQ(::link((dir / "data.bin").c_str(), (dir / "hard.bin").c_str()), 0);
    RunResult r = filecreate({"data.bin", "hard.bin"}, dir.path);
    EXPECT_EQ(r.exit_code, 4);
    EXPECT_EQ(r.out, "Output file hard.bin is the same file as an input. Terminating\n\n");
    EXPECT_EQ(read_file(dir / "data.bin"), data);
}

// An entry that is an output which exists already, through a hard link, is
// found before any output is created.
TEST(FileCollectionRefusals, EntryThatIsAHardLinkToTheImage)
{
    ScratchDir dir;
    write_file(dir / "index.htm", "<p>  hi</p>\r\n\r\n");
    write_file(dir / "c.bin", "old image");
    ASSERT_EQ(::link((dir / "c.bin").c_str(), (dir / "hard.bin").c_str()), 0);
    write_file(dir / "links.txt", "index.htm \nhard.bin \n");
    RunResult r = filecreate({"-f", "links.txt", "c.bin"}, dir.path);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "Specified input file number 2 is an output file of this run. Terminating\n\n");
    EXPECT_EQ(read_file(dir / "c.bin"), "old image");
    EXPECT_FALSE(file_exists(dir / "c.c"));
}

TEST(FileCollectionRefusals, CapacitiesAreRefusedWithCode10)
{
    ScratchDir dir;
    write_file(dir / "big.bin", std::string(70000, 'b'));
    write_file(dir / "over.bin", std::string(1048577, 'o'));
    struct Case {
        std::string control;
        std::string out;
    };
    const Case cases[] = {
        {"big.bin \n", "Adding file _big \nInput file big.bin longer than 65535 bytes needs #define MAX_FILE_LENGTH 4. Terminating\n\n"},
        {"over.bin \n", "Input file over.bin larger than 1048576 bytes. Terminating\n\n"},
    };
    for (const auto& k : cases) {
        write_file(dir / "ctl.txt", k.control);
        RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, dir.path);
        EXPECT_EQ(r.exit_code, 10) << k.control;
        EXPECT_EQ(r.out, k.out) << k.control;
    }

    // The same large file is fine with 4-byte length fields, even when the
    // definition comes after the last entry.
    write_file(dir / "ctl.txt", "big.bin \n#define MAX_FILE_LENGTH 4\n");
    EXPECT_EQ(filecreate({"-f", "ctl.txt", "c.bin"}, dir.path).exit_code, 0);
}

}  // namespace
