// GLCD arrays of bitmaps whose image size field or dimensions are unusual:
// the image size rule, sizes the format leaves open, rows longer than the
// reader's chunk.
#include <cstdio>
#include <gtest/gtest.h>

#include "tests/bitmap/bitmap_builder.hpp"
#include "tests/bitmap/glcd_run.hpp"

namespace {

TEST(GlcdArray, ImageSizeRule)
{
    Picture picture = random_picture(20, 5, 13);
    std::string pixels = encode_pixels(picture, 20, 24);
    std::string whole = expected_array(picture, 20, 24, {});

    // Size field 0: the file size minus the data offset.
    BitmapFile zero;
    zero.width = 20;
    zero.height = 5;
    zero.bits_per_pixel = 24;
    zero.pixels = pixels;
    zero.image_size = 0;
    EXPECT_EQ(convert(build_bitmap(zero)).array, whole);

    // Larger than the rows need (here by a whole row and more): exactly H rows.
    // The padding comes from the image size, so a 24-bit file stays exact only
    // when its width is a multiple of 8; use a 1-bit picture for the excess.
    Picture packed = random_picture(20, 5, 14);
    BitmapFile larger_packed;
    larger_packed.width = 20;
    larger_packed.height = 5;
    larger_packed.palette = two_entry_palette(false);
    larger_packed.pixels = encode_pixels(packed, 20, 1) + std::string(64, '\xFF');
    for (const char* mode : {"-bm", "-bmi"}) {
        Converted got = convert(build_bitmap(larger_packed), mode);
        EXPECT_EQ(got.array, expected_array(packed, 20, 1, {false, mode[3] == 'i', ""})) << mode;
    }
    Picture byte_wide = random_picture(16, 5, 15);
    BitmapFile larger_deep;
    larger_deep.width = 16;
    larger_deep.height = 5;
    larger_deep.bits_per_pixel = 24;
    larger_deep.pixels = encode_pixels(byte_wide, 16, 24) + std::string(300, '\xFF');
    EXPECT_EQ(convert(build_bitmap(larger_deep)).array, expected_array(byte_wide, 16, 24, {}));

    // Smaller than one read unit: header line, preamble, closing.
    for (unsigned bits : {1u, 24u}) {
        BitmapFile tiny = zero;
        tiny.bits_per_pixel = bits;
        tiny.image_size = bits == 1 ? 3 : 2;
        EXPECT_EQ(convert(build_bitmap(tiny)).array, array_of("0x00,0x00,0x14,0x00,0x05,", ""));
    }

    // Smaller than the rows: only the rows it covers (the open byte of a
    // cut row is dropped).
    BitmapFile short_size = zero;
    short_size.image_size = 2 * 60 + 27;  // two rows and 9 pixels of the third
    Picture two_rows(picture.begin(), picture.begin() + 2);
    std::string two = expected_array(two_rows, 20, 24, {});
    std::string got = convert(build_bitmap(short_size)).array;
    std::string third_first_byte;
    {
        unsigned value = 0;
        for (unsigned x = 0; x < 8; ++x) {
            value |= picture[2][x] ? 0x80u >> x : 0;
        }
        char text[8];
        std::snprintf(text, sizeof text, "0x%02X,", value);
        third_first_byte = text;
    }
    std::string preamble_five = "0x00,0x00,0x14,0x00,0x05,";
    std::string want = two;
    want.replace(want.find("0x00,0x00,0x14,0x00,0x02,"), 25, preamble_five);
    want.insert(want.size() - 5, third_first_byte);
    EXPECT_EQ(got, want);
}

// Sizes that the format leaves open, settled so the preamble stays true.
TEST(GlcdArray, DegenerateSizes)
{
    // One pixel wide, 1 bit: one value per row with the pixel in bit 7.
    Picture column = random_picture(1, 19, 16);
    for (const char* mode : {"-bm", "-bmn", "-bmi"}) {
        SCOPED_TRACE(mode);
        ArrayOptions options{mode[3] == 'n', mode[3] == 'i', ""};
        EXPECT_EQ(convert(bitmap_of(column, 1, 1), mode).array, expected_array(column, 1, 1, options));
    }

    // Width or height 0 with pixel data present: no values, no crash.
    struct Case {
        std::uint32_t width, height;
        unsigned bits;
        const char* preamble;
    };
    const Case cases[] = {
        {0, 5, 1, "0x00,0x00,0x00,0x00,0x05,"},
        {0, 5, 24, "0x00,0x00,0x00,0x00,0x05,"},
        {7, 0, 1, "0x00,0x00,0x07,0x00,0x00,"},
        {7, 0, 24, "0x00,0x00,0x07,0x00,0x00,"},
    };
    for (const Case& c : cases) {
        for (const char* mode : {"-bm", "-bmi", "-bmni"}) {
            SCOPED_TRACE(std::string(c.preamble) + mode);
            BitmapFile f;
            f.width = c.width;
            f.height = c.height;
            f.bits_per_pixel = c.bits;
            f.pixels = std::string(64, '\xFF');
            Converted got = convert(build_bitmap(f), mode);
            EXPECT_EQ(got.run.exit_code, 0);
            EXPECT_EQ(got.array, array_of(c.preamble, ""));
        }
    }

    // Rows that cross the reader's 64 KiB chunks, or are longer than a chunk.
    struct Large {
        unsigned width, height, bits;
    };
    for (const Large& l : {Large{30001, 3, 24}, Large{1001, 50, 24}, Large{4000, 200, 1}}) {
        Picture picture = random_picture(l.width, l.height, l.width);
        for (const char* mode : {"-bm", "-bmni"}) {
            SCOPED_TRACE(std::to_string(l.width) + "x" + std::to_string(l.height) + mode);
            ArrayOptions options{mode[3] == 'n', mode[3] == 'n', ""};
            EXPECT_EQ(convert(bitmap_of(picture, l.width, l.bits), mode).array,
                      expected_array(picture, l.width, l.bits, options));
        }
    }

    // The largest 16-bit width converts; its preamble shows FF FF.
    Picture widest = random_picture(65535, 2, 17);
    Converted got = convert(bitmap_of(widest, 65535, 1), "-bmi");
    EXPECT_EQ(got.array, expected_array(widest, 65535, 1, {false, true, ""}));
}

}  // namespace
