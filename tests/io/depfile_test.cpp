// The dependency file: escaping that Make and Ninja read back, relative names
// and whole-or-nothing writing.
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <unistd.h>

#include "io/depfile.hpp"
#include "tests/common/test_support.hpp"

namespace {

TEST(Depfile, EscapingRelativeNamesAndFailures)
{
    ScratchDir dir;
    char here[PATH_MAX];
    const std::string path = dir / "x.d", cwd = ::getcwd(here, sizeof here);  // the list keeps path's pointer
    const std::pair<std::string, std::string> names[] = {
        {"/a b", "/a\\ b"}, {"/h#a", "/h\\#a"}, {"/d$x", "/d$$x"}, {"/c:x", "/c\\:x"}, {"/p%x", "/p%x"},
        {"/in\\side", "/in\\side"}, {"/bs\\ sp", "/bs\\\\\\ sp"}, {"/end\\", "/end\\\\"}, {"/t\tx", "/t\\\tx"},
        {"./sub/../o.c", cwd + "/sub/../o.c"}, {"../in", cwd.substr(0, cwd.rfind('/')) + "/in"},
    };
    DepfileList list;
    for (const auto& [name, written] : names) {
        depfile_start(list, path.c_str());
        depfile_add(list, DepRole::target, "/out put");
        depfile_add(list, DepRole::prerequisite, "/control");
        depfile_add(list, DepRole::prerequisite, name);
        depfile_add(list, DepRole::prerequisite, name);  // recorded once
        ASSERT_TRUE(depfile_write(list));
        EXPECT_EQ(read_file(path), "/out\\ put: \\\n /control \\\n " + written + "\n" + written + ":\n");
    }
    std::string written = read_file(path);
    depfile_add(list, DepRole::prerequisite, "/line\nend");  // no form carries a line end
    EXPECT_FALSE(depfile_write(list));
    for (int i = 0; i < 128; ++i) {
        depfile_add(list, DepRole::prerequisite, "/" + std::to_string(i));
    }
    EXPECT_FALSE(depfile_write(list));
    EXPECT_EQ(read_file(path), written);
    EXPECT_FALSE(file_exists(path + ".tmp"));
}

}  // namespace
