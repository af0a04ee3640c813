// Inputs that are not ordinary files, or not there: every run ends with a
// message and an exit code, never a crash or a hang.
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

struct Case {
    const char* program;
    std::vector<std::string> args;
    int code;
    std::string last_line;  // the end of what is printed
};

TEST(UnusualInputs, EveryModeEndsWithAMessageAndACode)
{
    ScratchDir dir;
    ::mkdir((dir / "folder").c_str(), 0755);
    write_file(dir / "empty", "");
    write_file(dir / "ctl.txt", "folder.x \n");
    write_file(dir / "devnull.txt", "null.bmp \n");
    ASSERT_EQ(::symlink("/dev/null", (dir / "null.bmp").c_str()), 0);
    const Case cases[] = {
        {"KorvaneFileCreate", {"folder", "out.c"}, 3, "Input file could not be found. Terminating\n\n"},
        {"KorvaneFileCreate", {"/dev/null", "null.c"}, 0, "Output file null.c successfully generated\n\n"},
        {"KorvaneFileCreate", {"empty", "missing/dir/out.c"}, 4, "Output file could not be created. Terminating\n\n"},
        {"KorvaneFileCreate", {"-f", "folder", "x.bin"}, 1, "Control file could not be found. Terminating\n\n"},
        {"KorvaneFileCreate", {"-f", "/dev/null", "n.bin"}, 0, "Embedded user table location = 0x0\n\n\n"},
        {"KorvaneFileCreate", {"-f", "empty", "missing/dir/x.bin"}, 4, "Output file could not be created. Terminating\n\n"},
        {"KorvaneFileCreate", {"-f", "devnull.txt", "d.bin"}, 0, "Embedded user table location = 0x9\n\n\n"},
        {"KorvaneFileCreate", {"-bm", "folder", "b.c"}, 5, "Input bitmap file could not be found. Terminating\n\n"},
        {"KorvaneFileCreate", {"-bm", "empty", "b.c"}, 6, "Input file not bitmap format. Terminating\n\n"},
        {"KorvaneFileCreate", {"-bm", "/dev/null", "b.c"}, 6, "Input file not bitmap format. Terminating\n\n"},
        {"KorvaneFileCreate", {"-fb", "devnull.txt", "p.c"}, 6, "Input file not bitmap format. Terminating\n\n"},
        {"KorvaneConvert", {"folder", "o.bin", "-b"}, 1, "Input file could not be found. Terminating\n\n"},
        {"KorvaneConvert", {"/dev/null", "o.bin", "-h-1234"}, 0, "\r\r\n"},
        {"KorvaneConvert", {"empty", "missing/dir/o.bin", "-b"}, 2, "Output file could not be created. Terminating\n\n"},
    };
    for (const auto& c : cases) {
        RunResult r = run_program(installed_program(c.program), c.args, dir.path);
        EXPECT_EQ(r.exit_code, c.code) << c.program << " " << c.args[0] << " " << c.args[1];
        ASSERT_GE(r.out.size(), c.last_line.size()) << c.args[0];
        EXPECT_EQ(r.out.substr(r.out.size() - c.last_line.size()), c.last_line) << c.args[0] << " " << c.args[1];
    }
    // The empty upload image of /dev/null: length 0, magic, CRC 0.
    EXPECT_EQ(read_file(dir / "o.bin"), std::string("\0\0\0\0\x12\x34\0\0", 8));
}

}  // namespace
