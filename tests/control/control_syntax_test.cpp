// The control file's definitions, target address, numbers and its reading
// in text mode.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "tests/control/control_session.hpp"

namespace {

struct DefinitionCase {
    std::string text;
    std::vector<std::pair<std::string, std::int32_t>> lookups;
    std::uint32_t target;
    std::string notes = {};  // numbers read otherwise than written (Session::notes)
};

TEST(ControlDefinitions, NamesValuesAndTargetAddress)
{
    const std::vector<DefinitionCase> cases = {
        {"#define X 10\n", {{"X", 10}, {"x", 0}, {"define", 0}}, 0},
        {"#X 5\n#   define\tY 7\n", {{"X", 5}, {"Y", 7}}, 0},
        {"#define X 0x10\n#define Z -1\n", {{"X", 7210}, {"Z", -29}}, 0, "decimal_misread@1:0x10"},
        {"#define NAME\n 5\n", {{"NAME", 0}, {"NAME\n", 5}}, 0},
        {"#define V \n\n 12\n", {{"V", 12}}, 0},
        {"#define D 1\n#define D 2\n", {{"D", 1}}, 0},
        {"#define define X 4\n", {{"X", 4}}, 0},
        {"#define X 5/c\n#define Y 6", {{"X", 5}, {"Y", 0}}, 0},
        {"#define X 5\n\x1A#define Y 6\n", {{"X", 5}, {"Y", 0}}, 0},
        {"#AB\r\n 5\n#CD\r 6\n", {{"AB\n", 5}, {"CD\r", 6}, {"AB\r\n", 0}}, 0},
        {"%20000\n", {}, 0x20000},
        {"%ABCD\n", {}, 0xABCD},
        {"%abcd\n", {}, 0xABCD},
        {"% \n", {}, 0},
        {"%1\n%2 // last one counts\n", {}, 2},
        {"ab%10 \n", {}, 0xAB10},
        {"%0x20000\n", {}, 0x4120000, "address_misread@1:0x20000"},
        {"#define %7 1\n", {{"%7", 1}}, 0},
        {"#define L 2147483647\n#define M 2147483648\n", {{"L", INT32_MAX}, {"M", INT32_MIN}}, 0,
         "decimal_misread@2:2147483648"},
        {"%0000000FFFFFFFF\n%123456789\n", {}, 0x23456789, "address_misread@2:123456789"},
    };
    for (const DefinitionCase& c : cases) {
        SCOPED_TRACE(c.text);
        Session s(c.text, {});
        EXPECT_EQ(s.next(), "end");
        for (const auto& [name, value] : c.lookups) {
            EXPECT_EQ(s.lookup(name.c_str()), value) << name;
        }
        EXPECT_EQ(s.run->settings.target_address, c.target);
        EXPECT_EQ(s.lookup(nullptr), 0);
        EXPECT_EQ(s.notes(), c.notes);
    }
}

TEST(ControlNumbers, ParseDecimal)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"", 0}, {"0", 0}, {"123", 123}, {"2147483647", 2147483647},
        {"2147483648", INT32_MIN}, {"4294967295", -1}, {"4294967296", 0},
        {"99999999999", 1215752191}, {"x", 72}, {"-1", -29}, {"\xff", -49}, {" 1", -159},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parse_decimal(text.c_str()), value) << text;
    }
}

TEST(ControlNumbers, ParseHex)
{
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {"", 0}, {"20000", 0x20000}, {"ABCD", 0xABCD}, {"abcd", 0xABCD}, {"fFfFfFfF", 0xFFFFFFFF},
        {"123456789", 0x23456789}, {"g", 0x30}, {"x", 0x41}, {"0x1", 0x411}, {"1g", 0x30},
        {" ", 0xE9}, {"\xff", 0xC8}, {"@", 0x09}, {":", 0x03}, {"G", 0x10},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parse_hex(text.c_str()), value) << text;
    }
}

std::string read_all(const std::string& bytes, unsigned& line)
{
    ScratchDir dir;
    write_file(dir / "c", bytes);
    ControlFile control;
    control_attach(control, ::open((dir / "c").c_str(), O_RDONLY));
    std::string got;
    unsigned char byte = 0;
    while (read_control_byte(control, byte)) {
        got += static_cast<char>(byte);
    }
    EXPECT_FALSE(read_control_byte(control, byte));
    line = control.line;
    ::close(control.fd);
    return got;
}

TEST(ControlReader, TextMode)
{
    const std::string long_line(4095, 'x');
    const std::vector<std::tuple<std::string, std::string, unsigned>> cases = {
        {"a\r\nb\rc\n\r\n", "a\nb\rc\n\n", 4},
        {"\r\r\n", "\r\n", 2},
        {"z\r", "z\r", 1},
        {"a\x1A" "b\n", "a", 1},
        {"\x1A", "", 1},
        {long_line + "\r\ny", long_line + "\ny", 2},   // the pair split across two chunks
        {long_line + "\ry", long_line + "\ry", 2},
        {long_line + "\r", long_line + "\r", 1},
        {long_line + "\r\x1A", long_line + "\r", 1},
        {std::string(10000, '\n') + "q", std::string(10000, '\n') + "q", 10001},
    };
    for (const auto& [bytes, want, line] : cases) {
        unsigned got_line = 0;
        EXPECT_EQ(read_all(bytes, got_line), want);
        EXPECT_EQ(got_line, line);
    }
}

TEST(ControlReader, UnreadableControlFileEndsTheList)
{
    auto run = std::make_unique<ControlRun>();
    control_attach(run->control, -1);
    run->flags = 0;
    EXPECT_EQ(next_control_entry(run->control, run->settings, run->flags, run->entry).status, EntryStatus::end_of_list);
    EXPECT_EQ(run->flags, OPT_END_OF_LIST);
}

}  // namespace
