// The -bm and -fb runs where a case folder cannot hold the setting (inputs of
// a megabyte, hard links), and the -fb banner's fixed form; every other
// refusal, mode letter and banner is a case folder in tests/golden.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/bitmap/bitmap_builder.hpp"
#include "filecreate/bitmap/bitmap_reader.hpp"
#include "tests/common/test_support.hpp"

namespace {

const std::string WRITE_FAILED = "Output file write failed. Terminating\n\n";

RunResult tool(const std::vector<std::string>& args, const std::string& cwd = "")
{
    return run_program(installed_program("KorvaneFileCreate"), args, cwd);
}

BitmapFile small_bitmap()
{
    BitmapFile f;
    f.width = 12;
    f.height = 2;
    f.palette = two_entry_palette(false);
    f.pixels = std::string("\xA5\xFF\0\0\x0F\x30\0\0", 8);
    return f;
}

// A reversed array of 1024 x 1100 bytes is over the 1 MiB buffer: refused
// with no output file and the input untouched.
TEST(SingleBitmap, ReversedArrayOverTheBufferLeavesNoOutput)
{
    BitmapFile big;
    big.width = 8192;
    big.height = 1100;
    big.pixels = std::string(1024u * 1100u, '\x11');
    const std::string bitmap = build_bitmap(big);
    ScratchDir dir;
    write_file(dir / "in.bmp", bitmap);
    RunResult run = tool({"-bmi", dir / "in.bmp", dir / "out.c"});
    EXPECT_EQ(run.exit_code, 10);
    EXPECT_EQ(run.out, "Bitmap of 8192 x 1100 pixels too large for reversed rows (more than 1048576 bytes). Terminating\n\n");
    EXPECT_FALSE(file_exists(dir / "out.c"));
    EXPECT_EQ(read_file(dir / "in.bmp"), bitmap);
}

// The banner's fixed form: rules of 70 and 69 characters, the File: label,
// the blank lines after author, country and contact.
TEST(BitmapCollection, BannerForm)
{
    std::string one(BITMAP_BANNER_PART_ONE);
    std::string two(BITMAP_BANNER_PART_TWO);
    EXPECT_EQ(one.substr(0, 73), "/" + std::string(70, '*') + "\r\n");
    EXPECT_NE(one.find("\n   " + std::string(69, '-') + "\r\n   File:         "), std::string::npos);
    EXPECT_EQ(one.substr(one.size() - 17), "   File:         ");
    std::size_t lines = 0;
    std::size_t blank = 0;
    for (std::size_t at = 73; at < one.size() - 17; at = one.find('\n', at) + 1) {
        if (one[at] == '\n') {
            ++blank;
        } else {
            EXPECT_EQ(one.substr(at, 3), "   ");
            ++lines;
        }
    }
    EXPECT_EQ(lines, 6u);  // five identification lines and the rule
    EXPECT_EQ(blank, 3u);
    EXPECT_EQ(two.substr(0, 39), " (created by KorvaneFileCreate V1.9)\r\n\n");
    EXPECT_NE(two.find("\r\n\n   Project:      "), std::string::npos);
    EXPECT_NE(two.find("\r\n   " + std::string(69, '*') + "\r\n\n"), std::string::npos);
    EXPECT_TRUE(two.ends_with(
        "\r\n   " + std::string(69, '*') + "\r\n\n"
        "This file is not linked directly in the project but is included by the GLCD task file\r\n\n*/ \n\n"));
}

// An output that is an input through a hard link is refused before it is
// truncated.
TEST(DataSafety, OutputThatIsAHardLinkToTheInputIsRefused)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "in.bmp", good);
    ::link((dir / "in.bmp").c_str(), (dir / "hard.bmp").c_str());
    RunResult run = tool({"-bm", dir / "in.bmp", dir / "hard.bmp"});
    EXPECT_EQ(run.exit_code, 9);
    EXPECT_EQ(run.out, "Output file " + (dir / "hard.bmp") + " is the same file as an input. Terminating\n\n");
    EXPECT_EQ(read_file(dir / "in.bmp"), good);
}

// Larger than the output buffer, so the failure is met inside the loop.
TEST(DataSafety, FailedWriteInsideALargeArrayIsReported)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "in.bmp", good);
    Picture picture = random_picture(2048, 2048, 3);
    write_file(dir / "big.bmp", bitmap_of(picture, 2048, 1));
    write_file(dir / "big.txt", "big.bmp \nbig.bmp \n");
    RunResult big = tool({"-fb", "big.txt", "/dev/full"}, dir.path);
    EXPECT_EQ(big.exit_code, 4);
    EXPECT_EQ(big.out, WRITE_FAILED);
    EXPECT_EQ(read_file(dir / "in.bmp"), good);
}

}  // namespace
