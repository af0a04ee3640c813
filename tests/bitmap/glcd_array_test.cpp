// The arrays that -bm writes: both pixel paths over many sizes, line breaks,
// inversion and reversal, palette polarity and header sizes.
#include <gtest/gtest.h>

#include "tests/bitmap/bitmap_builder.hpp"
#include "tests/bitmap/glcd_run.hpp"

namespace {

// The three worked examples of the format, each with every flag variant.
TEST(GlcdArray, WorkedExamplesByteForByte)
{
    BitmapFile one_bit;
    one_bit.width = 12;
    one_bit.height = 2;
    one_bit.palette = two_entry_palette(false);
    one_bit.pixels = std::string("\xA5\xFF\0\0\x0F\x30\0\0", 8);

    BitmapFile ten_wide;
    ten_wide.width = 10;
    ten_wide.height = 2;
    ten_wide.bits_per_pixel = 24;
    for (int x = 0; x < 10; ++x) {
        ten_wide.pixels.append(3, x % 2 == 0 ? '\xFF' : '\0');
    }
    ten_wide.pixels += std::string("\0\0", 2) + std::string(30, '\xFF') + std::string("\0\0", 2);

    BitmapFile two_wide;
    two_wide.width = 2;
    two_wide.height = 1;
    two_wide.bits_per_pixel = 24;
    two_wide.pixels = std::string("\x01\0\0\0\0\xFF\0\0", 8);

    struct Case {
        const BitmapFile* file;
        const char* mode;
        const char* preamble;
        const char* values;
    };
    const Case cases[] = {
        {&one_bit, "-bm", "0x00,0x00,0x0C,0x00,0x02,", "0xA5,0xF0,0x0F,0x30,"},
        {&one_bit, "-bmn", "0x00,0x00,0x0C,0x00,0x02,", "0x5A,0x0F,0xF0,0xCF,"},
        {&one_bit, "-bmi", "0x00,0x00,0x0C,0x00,0x02,", "0x0F,0x30,0xA5,0xF0,"},
        {&one_bit, "-bmni", "0x00,0x00,0x0C,0x00,0x02,", "0xF0,0xCF,0x5A,0x0F,"},
        {&ten_wide, "-bm", "0x00,0x00,0x0A,0x00,0x02,", "0xAA,0x80,0xFF,0xC0,"},
        {&ten_wide, "-bmn", "0x00,0x00,0x0A,0x00,0x02,", "0x55,0x7F,0x00,0x3F,"},
        {&ten_wide, "-bmi", "0x00,0x00,0x0A,0x00,0x02,", "0xFF,0xC0,0xAA,0x80,"},
        {&ten_wide, "-bmin", "0x00,0x00,0x0A,0x00,0x02,", "0x00,0x3F,0x55,0x7F,"},
        {&two_wide, "-bm", "0x00,0x00,0x02,0x00,0x01,", "0x80,"},
        {&two_wide, "-bmn", "0x00,0x00,0x02,0x00,0x01,", "0x7F,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.preamble);
        Converted got = convert(build_bitmap(*c.file), c.mode);
        EXPECT_EQ(got.run.exit_code, 0);
        EXPECT_EQ(got.run.out, "");
        EXPECT_EQ(got.array, array_of(c.preamble, c.values));
    }
}

// Every width class of both paths: below a byte, a byte, across a 4-byte
// unit, across two units, with rows enough for several line breaks.
TEST(GlcdArray, BothPathsOverManySizesAndFlags)
{
    const unsigned widths[] = {1, 2, 7, 8, 9, 12, 31, 32, 33, 40, 130};
    const unsigned heights[] = {1, 2, 3, 31, 70};
    const char* modes[] = {"-bm", "-bmn", "-bmi", "-bmni"};
    unsigned seed = 1;
    for (unsigned bits : {1u, 24u}) {
        for (unsigned width : widths) {
            for (unsigned height : heights) {
                Picture picture = random_picture(width, height, seed++);
                std::string bitmap = bitmap_of(picture, width, bits);
                for (const char* mode : modes) {
                    SCOPED_TRACE(std::to_string(bits) + " bpp " + std::to_string(width) + "x" +
                                 std::to_string(height) + " " + mode);
                    ArrayOptions options;
                    options.invert = std::string(mode).find('n') != std::string::npos;
                    options.reverse = std::string(mode).find('i') != std::string::npos;
                    Converted got = convert(bitmap, mode);
                    ASSERT_EQ(got.run.exit_code, 0) << got.run.out;
                    ASSERT_EQ(got.array, expected_array(picture, width, bits, options));
                }
            }
        }
    }
}

std::size_t count_of(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// The three kinds of line break, checked by shape rather than by the model.
TEST(GlcdArray, LineBreaksOfTheThreeKinds)
{
    // 32 x 31 at 1 bit: 31 units -> 120 values, a break, 4 values.
    Converted wide = convert(bitmap_of(random_picture(32, 31, 7), 32, 1));
    std::size_t body = wide.array.find("\r\n", 45) + 2;
    std::size_t first_break = wide.array.find("\r\n", body);
    EXPECT_EQ(first_break - body, 120u * 5);
    EXPECT_EQ(wide.array.size() - (first_break + 2), 4u * 5 + 5);

    // 12 x 70 at 1 bit: one unit per row, so 30 rows = 60 values a line.
    Converted narrow = convert(bitmap_of(random_picture(12, 70, 8), 12, 1));
    body = narrow.array.find("\r\n", 45) + 2;
    EXPECT_EQ(narrow.array.find("\r\n", body) - body, 60u * 5);

    // 8 x 40 at 24 bits: 30 values, break, 10 values; reversed: no break.
    Picture forty = random_picture(8, 40, 9);
    Converted direct = convert(bitmap_of(forty, 8, 24));
    body = direct.array.find("\r\n", 45) + 2;
    EXPECT_EQ(direct.array.find("\r\n", body) - body, 30u * 5);
    EXPECT_EQ(count_of(direct.array, "\r\n"), 4u);
    Converted reversed = convert(bitmap_of(forty, 8, 24), "-bmi");
    EXPECT_EQ(count_of(reversed.array, "\r\n"), 3u);

    // 70 rows reversed: a break after the 60th value, none after the 70th.
    Converted seventy = convert(bitmap_of(random_picture(8, 70, 10), 8, 24), "-bmi");
    body = seventy.array.find("\r\n", 45) + 2;
    EXPECT_EQ(seventy.array.find("\r\n", body) - body, 60u * 5);
    EXPECT_EQ(count_of(seventy.array, "\r\n"), 4u);
}

// A light entry 0 flips the polarity, a dark one keeps it; only entry 0's red
// byte decides, and only when the palette is exactly two entries long.
TEST(GlcdArray, PalettePolarity)
{
    Picture picture = random_picture(16, 4, 11);
    std::string pixels = encode_pixels(picture, 16, 1);
    std::string plain = expected_array(picture, 16, 1, {});
    std::string inverted = expected_array(picture, 16, 1, {true, false, ""});

    struct Case {
        const char* what;
        std::uint32_t header_size;
        std::string palette;
        const char* mode;
        bool inverts;
    };
    const Case cases[] = {
        {"entry 0 black", 40, two_entry_palette(false), "-bm", false},
        {"entry 0 white", 40, two_entry_palette(true), "-bm", true},
        {"entry 0 white, caller inverts", 40, two_entry_palette(true), "-bmn", false},
        {"entry 0 black, caller inverts", 40, two_entry_palette(false), "-bmn", true},
        {"entry 0 blue and green only", 40, std::string("\xFF\xFF\0\0\0\0\0\0", 8), "-bm", false},
        {"entry 0 red only", 40, std::string("\0\0\x01\0\0\0\0\0", 8), "-bm", true},
        {"entry 1 red only", 40, std::string("\0\0\0\0\0\0\xFF\0", 8), "-bm", false},
        {"no palette", 40, "", "-bm", false},
        {"four entries, first white", 40, two_entry_palette(true) + two_entry_palette(true), "-bm", false},
        {"108-byte header, entry 0 white", 108, two_entry_palette(true), "-bm", false},
        {"124-byte header, entry 0 white", 124, two_entry_palette(true), "-bm", false},
        {"124-byte header, entry 0 black", 124, two_entry_palette(false), "-bmn", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapFile f;
        f.width = 16;
        f.height = 4;
        f.header_size = c.header_size;
        f.palette = c.palette;
        f.pixels = pixels;
        Converted got = convert(build_bitmap(f), c.mode);
        EXPECT_EQ(got.run.exit_code, 0);
        EXPECT_EQ(got.array, c.inverts ? inverted : plain);
    }

    // The check applies to 24-bit files as well when 8 bytes lie before the data.
    BitmapFile deep;
    deep.width = 9;
    deep.height = 3;
    deep.bits_per_pixel = 24;
    Picture small = random_picture(9, 3, 12);
    deep.pixels = encode_pixels(small, 9, 24);
    deep.palette = two_entry_palette(true);
    EXPECT_EQ(convert(build_bitmap(deep)).array, expected_array(small, 9, 24, {true, false, ""}));
}

}  // namespace
