// The installed KorvaneConvert where a case folder cannot hold the setting
// (hard links, inputs of 2 MiB); every other command-line behaviour is a case
// folder in tests/golden/KorvaneConvert.
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

const std::string BANNER =
    "      KorvaneConvert V1.8 - supporting encryption and Motorola binary format [2M binary support]\r\r\n";

RunResult convert(const std::vector<std::string>& args, const std::string& cwd)
{
    return run_program(installed_program("KorvaneConvert"), args, cwd);
}

TEST(ConvertCli, InputBeyondCapacityIsRefused)
{
    ScratchDir dir;
    write_file(dir / "max.bin", std::string(0x200000, '\x5a'));
    EXPECT_EQ(convert({"max.bin", "out.bin", "-b"}, dir.path).exit_code, 0);
    EXPECT_EQ(read_file(dir / "out.bin").size(), 0x200000u);

    write_file(dir / "over.bin", std::string(0x200001, '\x5a'));
    RunResult r = convert({"over.bin", "big.bin", "-h-1234"}, dir.path);
    EXPECT_EQ(r.exit_code, 3);
    EXPECT_EQ(r.out, BANNER + "Input file larger than 2097152 bytes. Terminating\n\n");
    EXPECT_FALSE(file_exists(dir / "big.bin"));
}

TEST(ConvertCli, NeverDestroysItsInput)
{
    ScratchDir dir;
    const std::string records = std::string("\x08\0\0\0\0\0\0\x04", 8) + "ABCD";
    write_file(dir / "in.mot", records);
    ASSERT_EQ(::link((dir / "in.mot").c_str(), (dir / "hard.mot").c_str()), 0);
    ASSERT_EQ(::symlink("in.mot", (dir / "soft.mot").c_str()), 0);
    for (const char* output : {"hard.mot", "soft.mot"}) {
        RunResult r = convert({"in.mot", output, "-b"}, dir.path);
        EXPECT_EQ(r.exit_code, 2);
        EXPECT_EQ(r.out, BANNER + "Output file " + output + " is the same file as the input. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "in.mot"), records);
    }
}

}  // namespace
