// The GLCD array decoder on hostile text: every refusal has its reason and
// nothing is read past the text.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "formats/glcd_array.hpp"

namespace {

TEST(GlcdDecode, HostileTextIsRefusedWithAReason)
{
    struct Case {
        std::string text;
        GlcdDecode status;
        unsigned width, height;
    };
    const Case cases[] = {
        {"", GlcdDecode::no_values, 0, 0},
        {"int x; /* { */ // {\n", GlcdDecode::no_values, 0, 0},
        {"{", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,255", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,0x100}", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,256}", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,0x8G}", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,09}", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1,0x}", GlcdDecode::bad_value, 0, 0},
        {"{0,0,8,0,1 255}", GlcdDecode::bad_value, 0, 0},
        {"{0,,0,8,0,1,255}", GlcdDecode::bad_value, 0, 0},
        {"{,}", GlcdDecode::bad_value, 0, 0},
        {"{}", GlcdDecode::no_preamble, 0, 0},
        {"{0,0,8,0}", GlcdDecode::no_preamble, 0, 0},
        {"{1,0,8,0,1,255}", GlcdDecode::no_preamble, 0, 0},
        {"{0,0,8,0,2,255}", GlcdDecode::wrong_count, 0, 0},
        {"{0,0xFF,0xFF,0xFF,0xFF,1}", GlcdDecode::wrong_count, 0, 0},
        {"{0,0,8,0,1,255,7}", GlcdDecode::wrong_count, 0, 0},
        {"{0,0,9,0,1,255,128}", GlcdDecode::ok, 9, 1},
        {"/* { */ \"{\" '{' x[] = { 0X00 , 0 ,010, 0,1, 0377, } ;", GlcdDecode::ok, 8, 1},
        {"{0,0,0,0,0}", GlcdDecode::ok, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        GlcdArray array;
        ASSERT_EQ(glcd_decode_array(c.text, array), c.status);
        EXPECT_EQ(array.width, c.width);
        EXPECT_EQ(array.height, c.height);
    }

    // Lists that are no arrays, nested or cut short, are passed over.
    std::vector<GlcdArray> found = glcd_find_arrays(
        "a[] = {0,0,8,0,1,1}; b[] = {1,2}; c[2] ={ 0,0,0,0,0 }; d = {{0,0,8,0,1,2}}; e[] = {0,0,8,0,1,");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].name, "a");
    EXPECT_EQ(found[1].name, "c");
    EXPECT_EQ(found[2].name, "");
    EXPECT_EQ(found[2].rows, std::vector<unsigned char>{2});
}

}  // namespace
