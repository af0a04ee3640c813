// A GLCD array read back as a display driver would read it: the preamble gives
// the size, then each row is (width + 7) / 8 bytes, leftmost pixel in bit 7.
// Decoding must give the bitmap's pixels for random pictures of many sizes,
// whatever the line breaks and the pixel path.
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "bitmap_builder.hpp"
#include "test_support.hpp"

namespace {

// Every "0xHH" value in the array text, in order.
std::vector<unsigned> array_values(const std::string& text)
{
    std::vector<unsigned> values;
    for (std::size_t at = text.find("0x"); at != std::string::npos; at = text.find("0x", at + 4)) {
        values.push_back(static_cast<unsigned>(std::strtoul(text.substr(at + 2, 2).c_str(), nullptr, 16)));
    }
    return values;
}

// The picture in stored row order, undoing inversion and reversal.
Picture decode(const std::vector<unsigned>& values, bool invert, bool reverse)
{
    EXPECT_GE(values.size(), 5u);
    if (values.size() < 5) {
        return {};
    }
    unsigned width = values[1] << 8 | values[2];
    unsigned height = values[3] << 8 | values[4];
    std::size_t stride = (width + 7) / 8;
    EXPECT_EQ(values.size(), 5 + stride * height) << "one byte per eight pixels of every row";
    Picture picture(height, std::vector<bool>(width));
    for (unsigned y = 0; y < height; ++y) {
        std::size_t row = reverse ? height - 1 - y : y;
        for (unsigned x = 0; x < width; ++x) {
            std::size_t at = 5 + row * stride + x / 8;
            unsigned byte = at < values.size() ? values[at] : 0;
            picture[y][x] = (((byte >> (7 - x % 8)) & 1) != 0) != invert;
        }
    }
    return picture;
}

TEST(GlcdDecode, ArraysDecodeToTheBitmapPixels)
{
    ScratchDir dir;
    const unsigned sizes[][2] = {{1, 1}, {3, 5}, {8, 8}, {17, 2}, {33, 9}, {64, 3}, {121, 40}, {250, 7}};
    unsigned seed = 77;
    for (unsigned bits : {1u, 24u}) {
        for (const auto& size : sizes) {
            Picture picture = random_picture(size[0], size[1], seed++);
            write_file(dir / "in.bmp", bitmap_of(picture, size[0], bits));
            for (const char* mode : {"-bm", "-bmn", "-bmi", "-bmni"}) {
                SCOPED_TRACE(std::to_string(bits) + " bpp " + std::to_string(size[0]) + "x" +
                             std::to_string(size[1]) + " " + mode);
                RunResult r = run_program(installed_program("KorvaneFileCreate"), {mode, "in.bmp", "out.c"}, dir.path);
                ASSERT_EQ(r.exit_code, 0) << r.out;
                std::string m = mode;
                Picture back = decode(array_values(read_file(dir / "out.c")), m.find('n') != std::string::npos,
                                      m.find('i') != std::string::npos);
                ASSERT_EQ(back, picture);
            }
        }
    }
}

}  // namespace
