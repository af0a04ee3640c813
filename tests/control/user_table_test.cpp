// The user_files table: its text, the same rows as pieces, array names.
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "control/run_flags.hpp"
#include "control/user_table.hpp"
#include "io/out_file.hpp"
#include "tests/common/test_support.hpp"

namespace {

// The table and the C source it is written to.
struct TableRun {
    UserTable table;
    OutFile c_source;
};

class UserTableTest : public ::testing::Test {
protected:
    std::unique_ptr<TableRun> run = std::make_unique<TableRun>();

    std::string table_text() const { return {run->table.text.data(), run->table.text_length}; }
};

TEST(ArrayName, FromPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"web/index.htm", "_web_index"},
        {"img/logo.big.gif", "_img_logo_big"},
        {"xml?status.xml", "_xml_status"},
        {"a\\b.c", "_a_b"},
        {"my-page.htm", "_my_page"},
        {"v1.2/a b+\x7f\xe9.htm", "_v1_2_a_b___"},
        {"noextension", "_noextension"},
        {"dir.x/file", "_dir"},
        {"a.", "_a"},
    };
    for (const auto& [path, name] : cases) {
        char buffer[64] = {};
        std::snprintf(buffer, sizeof buffer, "%s", path);
        make_array_name(buffer);
        EXPECT_STREQ(buffer, name) << path;
    }
}

TEST_F(UserTableTest, TableEntryPiecesAndParameterNames)
{
    ASSERT_TRUE(add_table_entry(run->table, 0, "web/index.htm", nullptr, nullptr, 0));
    ASSERT_TRUE(add_table_entry(run->table, 1, "_web_index", "MIME_HTML", "FILE_VISIBLE", 0));
    EXPECT_EQ(table_text(),
              "{\"web/index.htm\", (unsigned char *)_web_index, sizeof(_web_index), MIME_HTML, FILE_VISIBLE},\r\n");
    // The same row as its pieces, for the image.
    ASSERT_EQ(run->table.row_count, 1u);
    EXPECT_STREQ(run->table.rows[0].name.data(), "web/index.htm");
    EXPECT_STREQ(run->table.rows[0].array_name.data(), "_web_index");
    EXPECT_STREQ(run->table.rows[0].mime.data(), "MIME_HTML");
    EXPECT_STREQ(run->table.rows[0].visibility.data(), "FILE_VISIBLE");

    const std::pair<const char*, const char*> rule[] = {
        {"XML?status.xml", "XML?status"}, {"xml_data.xml", "xml?data"}, {"XML1.xml", "XML?"},
        {"xml.htm", "xml?htm"},           {"xml.txt", "xml?txt"},       {"XML", "XML"},
        {"xml", "xml"},                   {"index.xml", "index.xml"},   {"xMl/a.b.c", "xMl?a.b"},
    };
    for (const auto& [path, stored] : rule) {
        for (std::uint32_t flags : {OPT_PARAMETER_NAME, 0u}) {
            run = std::make_unique<TableRun>();
            UserTable& fresh = run->table;
            ASSERT_TRUE(add_table_entry(fresh, 0, path, nullptr, nullptr, flags));
            const char* want = flags != 0 ? stored : path;
            EXPECT_EQ(table_text(), std::string("{\"") + want + "\", ") << path << " " << flags;
            EXPECT_STREQ(fresh.rows[0].name.data(), want) << path << " " << flags;
        }
    }
    EXPECT_TRUE(add_table_entry(run->table, 2, "ignored", "x", "y", 0));
    EXPECT_EQ(table_text(), "{\"xMl/a.b.c\", ");

    // In the C text only: backslashes, a question mark after a question
    // mark, control bytes and DEL are escaped; the row keeps the bytes.
    const std::pair<const char*, const char*> escaped[] = {
        {"a\\x41.b\\", "a\\\\x41.b\\\\"},
        {"t.?" "?/x?" "??", "t.?\\?/x?\\?\\?"},
        {"a.\x01" "7\x1f\x7f\xff", "a.\\0017\\037\\177\xff"},
    };
    for (const auto& [path, text] : escaped) {
        run = std::make_unique<TableRun>();
        ASSERT_TRUE(add_table_entry(run->table, 0, path, nullptr, nullptr, 0));
        EXPECT_EQ(table_text(), std::string("{\"") + text + "\", ") << path;
        EXPECT_STREQ(run->table.rows[0].name.data(), path);
    }
}

TEST_F(UserTableTest, TableTextAndRowsNeverOverflow)
{
    // Phase 0 alone appends 125 characters each time: 1048 of them fit.
    std::string path(120, 'p');
    int added = 0;
    while (add_table_entry(run->table, 0, path.c_str(), nullptr, nullptr, 0)) {
        ++added;
    }
    EXPECT_EQ(added, 1048);
    EXPECT_EQ(run->table.text_length, 1048u * 125u);

    // Whole rows stop at 128; a piece longer than its buffer is refused.
    run = std::make_unique<TableRun>();
    for (int i = 0; i < 128; ++i) {
        ASSERT_TRUE(add_table_entry(run->table, 0, "a.htm", nullptr, nullptr, 0));
        ASSERT_TRUE(add_table_entry(run->table, 1, "_a", "M", "V", 0));
    }
    EXPECT_FALSE(add_table_entry(run->table, 0, "a.htm", nullptr, nullptr, 0));
    run = std::make_unique<TableRun>();
    EXPECT_FALSE(add_table_entry(run->table, 1, "_a", std::string(32, 'M').c_str(), "V", 0));
    EXPECT_EQ(run->table.text_length, 0u);
}

TEST_F(UserTableTest, TableWithoutFilesAndWithOne)
{
    ScratchDir dir;
    for (int files = 0; files < 2; ++files) {
        if (files == 1) {
            ASSERT_TRUE(add_table_entry(run->table, 0, "a.htm", nullptr, nullptr, 0));
            ASSERT_TRUE(add_table_entry(run->table, 1, "_a", "MIME_HTML", "FILE_VISIBLE", 0));
        }
        out_attach(run->c_source, ::open((dir / "t").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        write_user_file_table(run->table, run->c_source);
        out_close(run->c_source);
        std::string row = files == 0 ? "" : "{\"a.htm\", (unsigned char *)_a, sizeof(_a), MIME_HTML, FILE_VISIBLE},\r\n";
        EXPECT_EQ(read_file(dir / "t"),
                  "static const USER_FILE user_files[] = {\r\n" + row + "{0} // end of list\r\n};\r\n");
    }
}

}  // namespace
