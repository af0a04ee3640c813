// The value text tables of the array writers and hex_byte_upper against printf.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

#include "formats/value_text.hpp"

namespace {

// Both value text tables and hex_byte_upper against printf.
TEST(GlcdArray, ValueTextsMatchPrintf)
{
    for (unsigned value = 0; value < 256; ++value) {
        char got[3] = {};
        char want[8] = {};
        hex_byte_upper(got, static_cast<unsigned char>(value));
        std::snprintf(want, sizeof want, "%02X", value);
        EXPECT_STREQ(got, want);
        std::snprintf(want, sizeof want, "0x%02X,", value);
        EXPECT_EQ(std::string(VALUE_TEXTS_UPPER[value].data(), VALUE_TEXT_SIZE), want);
        std::snprintf(want, sizeof want, "0x%02x,", value);
        EXPECT_EQ(std::string(VALUE_TEXTS_LOWER[value].data(), VALUE_TEXT_SIZE), want);
    }
}

}  // namespace
