// Bitmaps written by a real image tool (made once by tests/data/bitmap/
// make_data.sh): the arrays, decoded, must show the pixels that the tool
// itself reads from the same files.
#include <gtest/gtest.h>
#include <sstream>

#include "tests/common/test_support.hpp"

namespace {

std::string data_path(const std::string& name)
{
    return std::string(BITMAP_DATA_DIR) + "/" + name;
}

// A plain PBM or PGM file: its pixels, top row first.
struct Image {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned> pixels;
};

Image read_plain_pnm(const std::string& path)
{
    std::istringstream in(read_file(path));
    std::string magic;
    Image image;
    in >> magic >> image.width >> image.height;
    unsigned max_value = 1;
    if (magic == "P2") {
        in >> max_value;
    }
    EXPECT_TRUE(magic == "P1" || magic == "P2") << path;
    unsigned value = 0;
    while (in >> value) {
        image.pixels.push_back(value);
    }
    EXPECT_EQ(image.pixels.size(), std::size_t{image.width} * image.height) << path;
    return image;
}

// The array as numbers: width and height from the preamble, then the values.
struct Array {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned> values;
};

Array decode_array(const std::string& text)
{
    Array array;
    std::vector<unsigned> all;
    for (std::size_t at = text.find("0x"); at != std::string::npos; at = text.find("0x", at + 4)) {
        all.push_back(static_cast<unsigned>(std::stoul(text.substr(at + 2, 2), nullptr, 16)));
    }
    EXPECT_GE(all.size(), 5u);
    array.width = all[1] << 8 | all[2];
    array.height = all[3] << 8 | all[4];
    array.values.assign(all.begin() + 5, all.end());
    return array;
}

std::string convert(const std::string& bitmap, const std::string& mode)
{
    ScratchDir dir;
    RunResult run = run_program(installed_program("KorvaneFileCreate"), {mode, data_path(bitmap), dir / "out.c"});
    EXPECT_EQ(run.exit_code, 0) << run.out;
    return read_file(dir / "out.c");
}

struct Case {
    const char* bitmap;
    const char* reading;
    // Which pixel value of the tool's reading must give a set bit.
    bool (*set)(unsigned);
    // The bits past the width: 0, or 1 when the array comes out inverted.
    bool padding_set;
};

bool white_in_pbm(unsigned v) { return v == 0; }
bool blue_not_zero(unsigned v) { return v != 0; }

TEST(RealFiles, ArraysShowTheToolsOwnPixels)
{
    const Case cases[] = {
        // Entry 0 is white: the polarity check keeps set bits for light pixels.
        // The inversion also sets the unused bits at each row end.
        {"logo.bmp", "logo.pbm", white_in_pbm, true},
        {"logo-swapped.bmp", "logo-swapped.pbm", white_in_pbm, false},
        // A 108-byte header puts 76 bytes before the data: no check, so a set
        // bit is palette entry 1, which is white in this file.
        {"logo-v4.bmp", "logo-v4.pbm", white_in_pbm, false},
        {"gradient24.bmp", "gradient24-blue.pgm", blue_not_zero, false},
        {"plasma24.bmp", "plasma24-blue.pgm", blue_not_zero, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitmap);
        Image image = read_plain_pnm(data_path(c.reading));
        unsigned row_bytes = (image.width + 7) / 8;
        for (const char* mode : {"-bm", "-bmi"}) {
            SCOPED_TRACE(mode);
            Array array = decode_array(convert(c.bitmap, mode));
            ASSERT_EQ(array.width, image.width);
            ASSERT_EQ(array.height, image.height);
            ASSERT_EQ(array.values.size(), std::size_t{row_bytes} * image.height);
            bool top_first = std::string(mode) == "-bmi";
            for (unsigned y = 0; y < image.height; ++y) {
                unsigned row = top_first ? y : image.height - 1 - y;
                for (unsigned x = 0; x < row_bytes * 8; ++x) {
                    unsigned value = array.values[row * row_bytes + x / 8];
                    bool bit = (value & (0x80u >> (x % 8))) != 0;
                    bool want = x < image.width ? c.set(image.pixels[y * image.width + x]) : c.padding_set;
                    ASSERT_EQ(bit, want) << "pixel " << x << "," << y;
                }
            }
        }
    }
}

// The picture's pixels in an array, row by row, the bits past the width left out.
std::vector<bool> pixels_of(const Array& array)
{
    std::vector<bool> pixels;
    unsigned row_bytes = (array.width + 7) / 8;
    for (unsigned y = 0; y < array.height; ++y) {
        for (unsigned x = 0; x < array.width; ++x) {
            pixels.push_back((array.values.at(y * row_bytes + x / 8) & (0x80u >> (x % 8))) != 0);
        }
    }
    return pixels;
}

// A logo and the same logo with its palette swapped give the same pixels;
// the caller's inversion flips them all.
TEST(RealFiles, SwappedPaletteGivesTheSamePixels)
{
    for (const char* mode : {"-bm", "-bmn"}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(pixels_of(decode_array(convert("logo.bmp", mode))),
                  pixels_of(decode_array(convert("logo-swapped.bmp", mode))));
    }
    std::vector<bool> plain = pixels_of(decode_array(convert("logo.bmp", "-bm")));
    std::vector<bool> inverted = pixels_of(decode_array(convert("logo.bmp", "-bmn")));
    ASSERT_EQ(plain.size(), inverted.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_NE(plain[i], inverted[i]) << i;
    }
}

}  // namespace
