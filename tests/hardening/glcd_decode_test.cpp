// GLCD arrays read back as a display driver would read them: the preamble
// gives the size, then each row is (width + 7) / 8 bytes, leftmost pixel in
// bit 7. Decoding must give the bitmap's pixels for random pictures of many
// sizes, whatever the line breaks and the pixel path.
#include <gtest/gtest.h>
#include <string>

#include "tests/bitmap/bitmap_builder.hpp"
#include "tests/bitmap/glcd_run.hpp"
#include "formats/glcd_array.hpp"
#include "tests/common/test_support.hpp"

namespace {

// The picture in stored row order, undoing inversion and reversal.
Picture picture_of(const GlcdArray& array, bool invert, bool reverse)
{
    Picture picture(array.height, std::vector<bool>(array.width));
    for (unsigned y = 0; y < array.height; ++y) {
        unsigned row = reverse ? array.height - 1 - y : y;
        for (unsigned x = 0; x < array.width; ++x) {
            picture[y][x] = glcd_pixel(array, x, row) != invert;
        }
    }
    return picture;
}

TEST(GlcdDecode, ArraysDecodeToTheBitmapPixels)
{
    const unsigned sizes[][2] = {{1, 1}, {3, 5}, {8, 8}, {17, 2}, {33, 9}, {64, 3}, {121, 40}, {250, 7}};
    unsigned seed = 77;
    for (unsigned bits : {1u, 24u}) {
        for (const auto& size : sizes) {
            Picture picture = random_picture(size[0], size[1], seed++);
            const std::string bitmap = bitmap_of(picture, size[0], bits);
            for (const char* mode : {"-bm", "-bmn", "-bmi", "-bmni"}) {
                SCOPED_TRACE(std::to_string(bits) + " bpp " + std::to_string(size[0]) + "x" +
                             std::to_string(size[1]) + " " + mode);
                Converted got = convert(bitmap, mode);
                ASSERT_EQ(got.run.exit_code, 0) << got.run.out;
                GlcdArray array;
                ASSERT_EQ(glcd_decode_array(got.array, array), GlcdDecode::ok);
                EXPECT_EQ(array.name, "array");
                std::string m = mode;
                ASSERT_EQ(picture_of(array, m.find('n') != std::string::npos, m.find('i') != std::string::npos),
                          picture);
            }
        }
    }
}

// A -fb output: the banner comment, then one named array per bitmap.
TEST(GlcdDecode, FindsEveryArrayOfACollection)
{
    ScratchDir dir;
    Picture wide = random_picture(40, 3, 5);
    Picture tall = random_picture(5, 33, 6);
    write_file(dir / "a.bmp", bitmap_of(wide, 40, 1));
    write_file(dir / "b.bmp", bitmap_of(tall, 5, 24));
    write_file(dir / "ctl.txt", "a.bmp logo\nb.bmp arrow\n");
    RunResult r = run_program(installed_program("KorvaneFileCreate"), {"-fb", "ctl.txt", "out.c"}, dir.path);
    ASSERT_EQ(r.exit_code, 0) << r.out;
    std::vector<GlcdArray> arrays = glcd_find_arrays(read_file(dir / "out.c"));
    ASSERT_EQ(arrays.size(), 2u);
    EXPECT_EQ(arrays[0].name, "logo");
    EXPECT_EQ(picture_of(arrays[0], false, false), wide);
    EXPECT_EQ(arrays[1].name, "arrow");
    EXPECT_EQ(picture_of(arrays[1], false, false), tall);
}

}  // namespace
