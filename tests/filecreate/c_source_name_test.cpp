// The C source name that -f derives beside an image.
#include <array>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "filecreate/c_source_name.hpp"
#include "tests/common/test_support.hpp"

namespace {

// The C source beside an image, on the names the build functions are tested on too.
TEST(CSourceName, AgreesWithTheBuildFunctions)
{
    std::istringstream lines(read_file(source_dir() + "/tests/data/c_source_names.txt"));
    int rows = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t tab = line.find('\t');
        std::array<char, C_SOURCE_NAME_SIZE> name{};
        ASSERT_TRUE(derive_c_source_name(line.substr(0, tab), name)) << line;
        EXPECT_EQ(name.data(), line.substr(tab + 1));
        ++rows;
    }
    EXPECT_GT(rows, 0);
}

}  // namespace
