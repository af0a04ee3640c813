// The -bm and -fb runs: every refusal with its message, code and what is left
// behind, the mode letters, the -fb banner and names, and data safety.
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/bitmap/bitmap_builder.hpp"
#include "filecreate/bitmap/bitmap_reader.hpp"
#include "tests/common/test_support.hpp"

namespace {

const std::string NOT_BITMAP = "Input file not bitmap format. Terminating\n\n";
const std::string COMPRESSED = "Compressed bitmap not supported. Terminating\n\n";
const std::string FORMAT = "bitmap color format not supported. Terminating\n\n";
const std::string MISSING = "Input bitmap file could not be found. Terminating\n\n";
const std::string NOT_CREATED = "Output file could not be created. Terminating\n\n";
const std::string WRITE_FAILED = "Output file write failed. Terminating\n\n";
const std::string CLOSING = "Output file out.c successfully created using      KorvaneFileCreate V1.9\r\r\n\n";

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

const std::string SMALL_ARRAY =
    "static const unsigned char array[] = {\r\n0x00,0x00,0x0C,0x00,0x02,\r\n0xA5,0xF0,0x0F,0x30,};\r\n\n";

std::string with(BitmapFile f, void (*change)(BitmapFile&))
{
    change(f);
    return build_bitmap(f);
}

struct Refusal {
    const char* what;
    std::string bitmap;
    std::string mode;
    int code;
    std::string message;
};

std::vector<Refusal> refusals()
{
    std::string good = build_bitmap(small_bitmap());
    std::string truncated = good.substr(0, good.size() - 1);
    std::string no_palette = good.substr(0, 58);
    BitmapFile big;  // reversed array of 1024 x 1100 bytes: over the 1 MiB buffer
    big.width = 8192;
    big.height = 1100;
    big.pixels = std::string(1024u * 1100u, '\x11');
    return {
        {"empty file", "", "-bm", 6, NOT_BITMAP},
        {"B without M", "BN" + good.substr(2), "-bm", 6, NOT_BITMAP},
        {"not a bitmap at all", "hello, world\n", "-bm", 6, NOT_BITMAP},
        {"shorter than the file header", good.substr(0, 10), "-bm", 6, NOT_BITMAP},
        {"shorter than the information header", good.substr(0, 40), "-bm", 6, NOT_BITMAP},
        {"shorter than its palette", no_palette, "-bm", 6, NOT_BITMAP},
        {"pixel data cut short", truncated, "-bm", 6, NOT_BITMAP},
        {"24-bit pixel data cut short",
         with(small_bitmap(), [](BitmapFile& f) {
             f.bits_per_pixel = 24;
             f.palette.clear();
             f.pixels = std::string(12 * 3 * 2 - 1, '\xFF');
             f.image_size = 80;
         }),
         "-bm", 6, NOT_BITMAP},
        {"compression 1", with(small_bitmap(), [](BitmapFile& f) { f.compression = 1; }), "-bm", 7, COMPRESSED},
        {"compression 2", with(small_bitmap(), [](BitmapFile& f) { f.compression = 2; }), "-bm", 7, COMPRESSED},
        {"compression 3", with(small_bitmap(), [](BitmapFile& f) { f.compression = 3; }), "-bm", 7, COMPRESSED},
        {"4 bits", with(small_bitmap(), [](BitmapFile& f) { f.bits_per_pixel = 4; }), "-bm", 8, FORMAT},
        {"8 bits", with(small_bitmap(), [](BitmapFile& f) { f.bits_per_pixel = 8; }), "-bm", 8, FORMAT},
        {"16 bits", with(small_bitmap(), [](BitmapFile& f) { f.bits_per_pixel = 16; }), "-bm", 8, FORMAT},
        {"32 bits", with(small_bitmap(), [](BitmapFile& f) { f.bits_per_pixel = 32; }), "-bm", 8, FORMAT},
        {"width over 16 bits", with(small_bitmap(), [](BitmapFile& f) { f.width = 0x10000 + 12; }), "-bm", 8, FORMAT},
        {"height over 16 bits", with(small_bitmap(), [](BitmapFile& f) { f.height = 0x20002; }), "-bm", 8, FORMAT},
        {"top-down bitmap", with(small_bitmap(), [](BitmapFile& f) { f.height = static_cast<std::uint32_t>(-2); }),
         "-bm", 8, FORMAT},
        {"reversed array over the buffer", build_bitmap(big), "-bmi", 10,
         "Bitmap of 8192 x 1100 pixels too large for reversed rows (more than 1048576 bytes). Terminating\n\n"},
    };
}

// Each refusal of -bm: its message, its code, no output file, input untouched.
TEST(SingleBitmap, RefusalsLeaveNoOutput)
{
    for (const Refusal& r : refusals()) {
        SCOPED_TRACE(r.what);
        ScratchDir dir;
        write_file(dir / "in.bmp", r.bitmap);
        RunResult run = tool({r.mode, dir / "in.bmp", dir / "out.c"});
        EXPECT_EQ(run.exit_code, r.code);
        EXPECT_EQ(run.out, r.message);
        EXPECT_FALSE(file_exists(dir / "out.c"));
        EXPECT_EQ(read_file(dir / "in.bmp"), r.bitmap);
    }
}

// The same refusals as the second entry of -fb: nothing is written, the
// closing line is not printed.
TEST(BitmapCollection, RefusalWritesNothing)
{
    for (const Refusal& r : refusals()) {
        if (r.mode != "-bm") {
            continue;
        }
        SCOPED_TRACE(r.what);
        ScratchDir dir;
        write_file(dir / "a.bmp", build_bitmap(small_bitmap()));
        write_file(dir / "b.bmp", r.bitmap);
        write_file(dir / "ctl.txt", "a.bmp first\nb.bmp second\n");
        RunResult run = tool({"-fb", "ctl.txt", "out.c"}, dir.path);
        EXPECT_EQ(run.exit_code, r.code);
        EXPECT_EQ(run.out, r.message);
        EXPECT_FALSE(file_exists(dir / "out.c"));
    }
}

TEST(SingleBitmap, MissingArgumentsAndFiles)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "in.bmp", good);
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{"-bm"}, 5, MISSING},
        {{"-bm", dir / "absent.bmp", dir / "out.c"}, 5, MISSING},
        {{"-bm", dir.path, dir / "out.c"}, 5, MISSING},
        {{"-bm", dir / "in.bmp"}, 9, NOT_CREATED},
        {{"-bm", dir / "in.bmp", dir / "no/such/folder/out.c"}, 9, NOT_CREATED},
        {{"-bm", dir / "in.bmp", dir.path}, 9, NOT_CREATED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : "no arguments");
        RunResult run = tool(c.args);
        EXPECT_EQ(run.exit_code, c.code);
        EXPECT_EQ(run.out, c.message);
    }
    EXPECT_EQ(read_file(dir / "in.bmp"), good);
}

TEST(SingleBitmap, ModeLetters)
{
    const std::string values[] = {"0xA5,0xF0,0x0F,0x30,", "0x5A,0x0F,0xF0,0xCF,", "0x0F,0x30,0xA5,0xF0,",
                                  "0xF0,0xCF,0x5A,0x0F,"};
    struct Case {
        const char* mode;
        int flags;  // 1 invert, 2 reverse
    };
    const Case cases[] = {{"-bm", 0},   {"-bmx", 0},  {"-bmxyn", 0}, {"-bmn", 1},   {"-bmxn", 1},
                          {"-bmi", 2},  {"-bmni", 3}, {"-bmin", 3},  {"-bmnin", 3}, {"-bmN", 0},
                          {"-bmI", 0},  {"-bmnn", 1}, {"-bmii", 2}};
    ScratchDir dir;
    write_file(dir / "in.bmp", build_bitmap(small_bitmap()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        RunResult run = tool({c.mode, dir / "in.bmp", dir / "out.c"});
        EXPECT_EQ(run.exit_code, 0);
        std::string want = SMALL_ARRAY;
        want.replace(want.find("0xA5,0xF0"), 20, values[c.flags]);
        EXPECT_EQ(read_file(dir / "out.c"), want);
    }
}

// -bm never names the array, even after a control file would have.
TEST(SingleBitmap, OutputHasNoBannerAndIsOverwritten)
{
    ScratchDir dir;
    write_file(dir / "in.bmp", build_bitmap(small_bitmap()));
    write_file(dir / "out.c", std::string(5000, 'x'));
    RunResult run = tool({"-bm", dir / "in.bmp", dir / "out.c"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(dir / "out.c"), SMALL_ARRAY);
}

TEST(BitmapCollection, BannerNamesAndOptions)
{
    ScratchDir dir;
    ::mkdir((dir / "gen").c_str(), 0755);
    write_file(dir / "a.bmp", build_bitmap(small_bitmap()));
    write_file(dir / "ctl.txt",
               "// logos of the front panel\n"
               "a.bmp -n logo_inverted\n"
               "a.bmp \n"
               "a.bmp -i -n both // reversed and inverted\n"
               "a.bmp plain\n");
    RunResult run = tool({"-fb", "ctl.txt", "./gen//out.c"}, dir.path);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "Output file ./gen//out.c successfully created using      KorvaneFileCreate V1.9\r\r\n\n");
    std::string header = "static const unsigned char ";
    std::string preamble = "[] = {\r\n0x00,0x00,0x0C,0x00,0x02,\r\n";
    std::string want = std::string(BITMAP_BANNER_PART_ONE) + "./gen//out.c" + std::string(BITMAP_BANNER_PART_TWO) +
                       header + "logo_inverted" + preamble + "0x5A,0x0F,0xF0,0xCF,};\r\n\n" + header + "array" +
                       preamble + "0xA5,0xF0,0x0F,0x30,};\r\n\n" + header + "both" + preamble +
                       "0xF0,0xCF,0x5A,0x0F,};\r\n\n" + header + "plain" + preamble + "0xA5,0xF0,0x0F,0x30,};\r\n\n";
    EXPECT_EQ(read_file(dir / "gen/out.c"), want);
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

TEST(BitmapCollection, EmptyControlFileGivesEmptyOutput)
{
    ScratchDir dir;
    write_file(dir / "ctl.txt", "// nothing yet\n\n");
    RunResult run = tool({"-fb", "ctl.txt", "out.c"}, dir.path);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, CLOSING);
    EXPECT_EQ(read_file(dir / "out.c"), "");
}

TEST(BitmapCollection, RunFailures)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "a.bmp", good);
    std::string control = "a.bmp \nmissing.bmp \n";
    write_file(dir / "ctl.txt", control);
    write_file(dir / "long.txt", "a.bmp " + std::string(100, 'n') + "\n");
    write_file(dir / "self.txt", "a.bmp \nout.c \n");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
        bool entry_is_output;  // an absent output is an entry not found
    };
    const Case cases[] = {
        {{"-fb"}, 1, "Control file could not be found. Terminating\n\n", false},
        {{"-fb", "absent.txt", "out.c"}, 1, "Control file could not be found. Terminating\n\n", false},
        {{"-fb", "ctl.txt"}, 4, NOT_CREATED, false},
        {{"-fb", "ctl.txt", "no/such/out.c"}, 4, NOT_CREATED, false},
        {{"-fb", "ctl.txt", "out.c"}, 2, "Specified input file number 2 not found. Terminating\n\n", false},
        {{"-fb", "long.txt", "out.c"}, 10,
         "Control file line 1: array name longer than 99 characters. Terminating\n\n", false},
        {{"-fb", "self.txt", "out.c"}, 2, "Specified input file number 2 is an output file of this run. Terminating\n\n",
         true},
    };
    // Each with the output absent and present: a failed run leaves the folder as it was.
    for (bool existing : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : "no arguments");
            if (existing) {
                write_file(dir / "out.c", "earlier");
            } else {
                ::unlink((dir / "out.c").c_str());
            }
            const auto before = folder_state(dir.path);
            RunResult run = tool(c.args, dir.path);
            EXPECT_EQ(run.exit_code, c.code);
            EXPECT_EQ(run.out, c.entry_is_output && !existing ? cases[4].message : c.message);
            EXPECT_EQ(folder_state(dir.path), before);
        }
    }
    EXPECT_EQ(read_file(dir / "ctl.txt"), control);
    EXPECT_EQ(read_file(dir / "a.bmp"), good);
}

// An output that is an input is refused before it is truncated, through any
// spelling of the path: the same name, a hard link, a symbolic link.
TEST(DataSafety, OutputThatIsAnInputIsRefused)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "in.bmp", good);
    ::link((dir / "in.bmp").c_str(), (dir / "hard.bmp").c_str());
    ::symlink((dir / "in.bmp").c_str(), (dir / "soft.bmp").c_str());
    for (const char* name : {"in.bmp", "hard.bmp", "soft.bmp"}) {
        SCOPED_TRACE(name);
        RunResult run = tool({"-bm", dir / "in.bmp", dir / name});
        EXPECT_EQ(run.exit_code, 9);
        EXPECT_EQ(run.out, "Output file " + (dir / name) + " is the same file as an input. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "in.bmp"), good);
    }

    std::string control = "in.bmp \n";
    write_file(dir / "ctl.txt", control);
    ::symlink((dir / "ctl.txt").c_str(), (dir / "ctl-link.txt").c_str());
    for (const char* name : {"ctl.txt", "ctl-link.txt"}) {
        SCOPED_TRACE(name);
        RunResult run = tool({"-fb", "ctl.txt", name}, dir.path);
        EXPECT_EQ(run.exit_code, 4);
        EXPECT_EQ(run.out, std::string("Output file ") + name + " is the same file as an input. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "ctl.txt"), control);
    }
}

TEST(DataSafety, FailedWritesAreReported)
{
    ScratchDir dir;
    std::string good = build_bitmap(small_bitmap());
    write_file(dir / "in.bmp", good);
    write_file(dir / "ctl.txt", "in.bmp \nin.bmp \n");
    RunResult single = tool({"-bm", dir / "in.bmp", "/dev/full"});
    EXPECT_EQ(single.exit_code, 9);
    EXPECT_EQ(single.out, WRITE_FAILED);
    RunResult collection = tool({"-fb", "ctl.txt", "/dev/full"}, dir.path);
    EXPECT_EQ(collection.exit_code, 4);
    EXPECT_EQ(collection.out, WRITE_FAILED);
    // Larger than the output buffer, so the failure is met inside the loop.
    Picture picture = random_picture(2048, 2048, 3);
    write_file(dir / "big.bmp", bitmap_of(picture, 2048, 1));
    write_file(dir / "big.txt", "big.bmp \nbig.bmp \n");
    RunResult big = tool({"-fb", "big.txt", "/dev/full"}, dir.path);
    EXPECT_EQ(big.exit_code, 4);
    EXPECT_EQ(big.out, WRITE_FAILED);
    EXPECT_EQ(read_file(dir / "in.bmp"), good);
}

}  // namespace
