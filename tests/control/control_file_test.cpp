// The control-file parser: entries, options, identifiers, the array name
// buffer and the capacities, read from real files.
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "tests/control/control_session.hpp"

namespace {

using namespace std::string_literals;

struct Want {
    std::string opened;
    std::string path;
    std::uint32_t flags;
    std::string mime;
    std::string visibility;
    std::string array_name;
};

struct EntryCase {
    const char* what;
    std::string text;
    std::vector<std::string> files;
    std::vector<Want> entries;  // the list then ends
    std::string array_name_at_end;
    std::string notes = {};  // what is read otherwise than written (Session::notes)
};

constexpr std::uint32_t B = OPT_WRITE_BANNER;
const std::string HTML = "MIME_HTML";
const std::string VIS = "FILE_VISIBLE";

const std::vector<EntryCase> ENTRY_CASES = {
    {"blank after the name opens", "index.htm \n", {"index.htm"}, {{"index.htm", "index.htm", B, HTML, VIS, ""}}, ""},
    {"line end after the name does not", "index.htm\n", {"index.htm"}, {}, "index.htm", "name_without_entry@2:index.htm"},
    {"comment after a blank", "index.htm // start\n", {"index.htm"}, {{"index.htm", "index.htm", B, HTML, VIS, ""}}, ""},
    {"comment right after the name", "index.htm// start\n", {"index.htm"}, {}, "index.htm", "name_without_entry@2:index.htm"},
    {"comment line", "/ one slash\nq.htm \n", {"q.htm"}, {{"q.htm", "q.htm", B, HTML, VIS, ""}}, ""},
    {"single slash inside a token", "web/i.htm \nab/cd\n", {"web/i.htm"}, {{"web/i.htm", "web/i.htm", B, HTML, VIS, ""}}, "ab/cd"},
    {"double slash ends a plain token", "ab//cd\n", {}, {}, "ab"},
    {"blanks dropped inside a token", "a b.htm \n", {"ab.htm"}, {{"ab.htm", "ab.htm", B, HTML, VIS, ""}}, "", "blank_in_name@2:ab.htm"},
    {"second name on the line wins", "a.htm b.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"name before the line end is array name", "a.htm b.htm\n", {"a.htm", "b.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "b.htm"}}, "b.htm"},
    {"state 8 carried over the line end", "index.htm\nmy page.htm \n", {"index.htm", "my", "page.htm"}, {{"page.htm", "page.htm", B, HTML, VIS, ""}}, "", "name_without_entry@2:index.htm"},
    {"hyphen before the first full stop is text", "my-page.htm \n", {"my-page.htm"}, {{"my-page.htm", "my-page.htm", B, HTML, VIS, ""}}, ""},
    {"hyphen after the full stop starts an option", "page.my-part.htm \n", {"art.htm"}, {{"art.htm", "art.htm", B, HTML, VIS, ""}}, "", "unknown_option@2:p option_glued@2:page.my"},
    {"question mark opens a hyphen", "xml?data.xml \n", {"xml-data.xml"}, {{"xml-data.xml", "xml?data.xml", B, HTML, VIS, ""}}, ""},
    {"vertical bar marks a name", "|readme \n", {"readme"}, {{"readme", "readme", B, HTML, VIS, ""}}, ""},
    {"missing file is negative", "gone.htm \nq.htm \n", {"q.htm"}, {{"missing", "gone.htm", B, HTML, VIS, ""}, {"q.htm", "q.htm", B, HTML, VIS, ""}}, ""},
    {"option letters, both cases", "a.htm -W -n -I\n", {"a.htm"}, {{"a.htm", "a.htm", B | 0x19, HTML, VIS, ""}}, ""},
    {"tab and blanks after the hyphen", "a.htm\t-\t w\n", {"a.htm"}, {{"a.htm", "a.htm", B | OPT_SQUEEZE_SPACE, HTML, VIS, ""}}, ""},
    {"unknown option letter returns to state 0", "a.htm -x rest\n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "rest"}}, "rest", "unknown_option@2:x"},
    {"? returns to state 0", "a.htm -? -w\n", {"a.htm"}, {{"a.htm", "a.htm", B | OPT_PARAMETER_NAME, HTML, VIS, "-w"}}, "-w"},
    {"options cleared for the next entry", "a.htm -w -n -i -?\nb.htm \n", {"a.htm", "b.htm"},
     {{"a.htm", "a.htm", B | 0x99, HTML, VIS, ""}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"bitmap array name", "logo.bmp -n logo_inverted\n", {"logo.bmp"}, {{"logo.bmp", "logo.bmp", B | OPT_INVERT, HTML, VIS, "logo_inverted"}}, "logo_inverted"},
    {"t and c identifiers, reset per entry", "a.htm -t=MIME_GIF -c:FILE_HIDDEN x\nb.htm \n", {"a.htm", "b.htm"},
     {{"a.htm", "a.htm", B, "MIME_GIF", "FILE_HIDDEN", "x"}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"any separator byte is skipped", "a.htm -tXYZ -Cq\n", {"a.htm"}, {{"a.htm", "a.htm", B, "YZ", "", "old"}}, "old"},
    {"empty identifier", "a.htm -t= \n", {"a.htm"}, {{"a.htm", "a.htm", B, "", VIS, ""}}, ""},
    {"no separator keeps the default", "a.htm -t -c\n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "old"}}, "old", "identifier_dropped@2:t"},
    {"slash ends a value, not a comment", "a.htm -t=A/tail\n", {"a.htm"}, {{"a.htm", "a.htm", B, "A", VIS, "tail"}}, "tail"},
    {"hyphen ending a line defers the entry", "a.htm -\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, "", "entry_dropped@2:a.htm"},
    {"target address line end does not return", "a.htm %20\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, "", "entry_dropped@2:a.htm"},
    {"definition before a file", "#X 3 a.htm \n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, ""}}, ""},
    {"definition line end does not return", "a.htm #X 3\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, "", "entry_dropped@2:a.htm"},
    {"lone CR ends lines", "a.htm \rb.htm \r", {"a.htm", "b.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, ""}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"CR LF ends lines", "a.htm -w\r\nb.htm \r\n", {"a.htm", "b.htm"},
     {{"a.htm", "a.htm", B | OPT_SQUEEZE_SPACE, HTML, VIS, ""}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    // A last line without a line end is finished as a line end would finish it.
    {"last line: blank", "a.htm ", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, ""}}, ""},
    {"last line: option", "a.htm -w", {"a.htm"}, {{"a.htm", "a.htm", B | OPT_SQUEEZE_SPACE, HTML, VIS, ""}}, ""},
    {"last line: identifier", "a.htm -t=MIME_GIF", {"a.htm"}, {{"a.htm", "a.htm", B, "MIME_GIF", VIS, "old"}}, "old"},
    {"last line: array name", "a.bmp logo", {"a.bmp"}, {{"a.bmp", "a.bmp", B, HTML, VIS, "logo"}}, "logo"},
    {"last line: hyphen", "a.htm -", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "old"}}, "old"},
    {"last line: missing file", "gone.htm ", {}, {{"missing", "gone.htm", B, HTML, VIS, ""}}, ""},
    {"last line: 0x1A ends it", "a.htm \x1A" "b.htm \n", {"a.htm", "b.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, ""}}, ""},
    {"option glued to a name", "plain.css-w\nb.htm \n", {"b.htm"}, {{"b.htm", "b.htm", B | OPT_SQUEEZE_SPACE, HTML, VIS, ""}}, "",
     "option_glued@2:plain.css"},
    {"name without a full stop", "LICENSE -t=MIME_TEXT\n", {}, {}, "LICENSE-t=MIME_TEXT", "name_without_stop@2:LICENSE"},
    {"blank after an array name", "logo \n", {}, {}, "logo"},
    {"last line without a file changes nothing", "index.htm", {"index.htm"}, {}, "old", "name_without_entry@2:index.htm"},
};

TEST(ControlEntries, StateMachineTable)
{
    for (const EntryCase& c : ENTRY_CASES) {
        SCOPED_TRACE(c.what);
        int fds_before = open_fd_count();
        {
            // The first line leaves a known text in the array name buffer.
            Session s("old\n" + c.text, c.files);
            for (const Want& want : c.entries) {
                EXPECT_EQ(s.next(), want.opened);
                EXPECT_EQ(s.path.data(), want.path);
                EXPECT_EQ(s.flags, want.flags);
                EXPECT_EQ(s.mime.data(), want.mime);
                EXPECT_EQ(s.visibility.data(), want.visibility);
                EXPECT_EQ(s.array_name(), want.array_name);
            }
            EXPECT_EQ(s.next(), "end");
            EXPECT_EQ(s.next(), "end");
            EXPECT_EQ(s.array_name(), c.array_name_at_end);
            EXPECT_EQ(s.notes(), c.notes);
        }
        EXPECT_EQ(open_fd_count(), fds_before) << "a file opened and not returned stayed open";
    }
}

TEST(ControlEntries, WorkedExample)
{
    Session s("// pages of the demo server\n#define FILE_HEADER_LEN 16\n#define ALIGN 1\n%20000\n"
              "index.htm -w\nlogo.gif -t=MIME_GIF // title picture\nxml?data.xml -?\n",
              {"index.htm", "logo.gif", "xml-data.xml"});
    EXPECT_EQ(s.next(), "index.htm");
    EXPECT_EQ(s.path.data(), "index.htm"s);
    EXPECT_EQ(s.flags, B | OPT_SQUEEZE_SPACE);
    EXPECT_EQ(s.mime.data(), HTML);
    EXPECT_EQ(s.visibility.data(), VIS);
    EXPECT_EQ(s.lookup("FILE_HEADER_LEN"), 16);
    EXPECT_EQ(s.lookup("ALIGN"), 1);
    EXPECT_EQ(s.run->settings.target_address, 0x20000u);
    EXPECT_EQ(s.next(), "logo.gif");
    EXPECT_EQ(s.path.data(), "logo.gif"s);
    EXPECT_EQ(s.flags, B);
    EXPECT_EQ(s.mime.data(), "MIME_GIF"s);
    EXPECT_EQ(s.visibility.data(), VIS);
    EXPECT_EQ(s.next(), "xml-data.xml");
    EXPECT_EQ(s.path.data(), "xml?data.xml"s);
    EXPECT_EQ(s.flags, B | OPT_PARAMETER_NAME);
    EXPECT_EQ(s.mime.data(), HTML);
    EXPECT_EQ(s.next(), "end");
}

struct CapacityCase {
    const char* what;
    std::string text;
    std::vector<std::string> files;
    std::string first;  // result of the first call
    std::pair<ControlLimit, unsigned> limit;  // the limit exceeded and its line
};

std::string many_definitions(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "#define D" + std::to_string(i) + " " + std::to_string(i) + "\n";
    }
    return text;
}

TEST(ControlCapacity, AtAndBeyondEachLimit)
{
    const std::string long_path = std::string(122, 'p') + ".htm";  // 126 characters
    const auto none = std::pair(ControlLimit::none, 0u);
    auto msg = [](unsigned line, ControlLimit limit) { return std::pair(limit, line); };
    const std::vector<CapacityCase> cases = {
        {"64 definitions", many_definitions(64) + "a.htm \n", {"a.htm"}, "a.htm", none},
        {"65 definitions", many_definitions(65) + "a.htm \n", {"a.htm"}, "capacity", msg(65, ControlLimit::definitions)},
        {"name of 255", "#" + std::string(255, 'N') + " 1\na.htm \n", {"a.htm"}, "a.htm", none},
        {"name of 256", "#" + std::string(256, 'N') + " \n1\na.htm \n", {"a.htm"}, "capacity",
         msg(1, ControlLimit::definition_name)},
        {"value of 255", "#X " + std::string(254, '0') + "7\na.htm \n", {"a.htm"}, "a.htm", none},
        {"value of 256", "\r\n\r#X " + std::string(256, '0') + "\na.htm \n", {"a.htm"}, "capacity",
         msg(3, ControlLimit::number)},
        {"address of 255", "%" + std::string(254, '0') + "1\na.htm \n", {"a.htm"}, "a.htm", none},
        {"address of 256", "a.htm %" + std::string(256, '0') + " \n", {"a.htm"}, "capacity",
         msg(1, ControlLimit::number)},
        {"path of 126", long_path + " \n", {long_path}, long_path, none},
        {"path of 127", "a.htm q" + long_path + " \n", {"a.htm"}, "capacity", msg(1, ControlLimit::path)},
        {"MIME type of 31", "a.htm -t=" + std::string(31, 'M') + "\n", {"a.htm"}, "a.htm", none},
        {"MIME type of 32", "\n\na.htm -t=" + std::string(32, 'M') + "\n", {"a.htm"}, "capacity",
         msg(3, ControlLimit::mime)},
        {"MIME type replaced", "a.htm -t=" + std::string(32, 'M') + " -t=OK\n", {"a.htm"}, "a.htm", none},
        {"MIME type never used", "a.b-t=" + std::string(40, 'M') + "\n", {}, "end", none},
        {"visibility of 127", "a.htm -c=" + std::string(127, 'V') + "\n", {"a.htm"}, "a.htm", none},
        {"visibility of 128", "a.htm -c=" + std::string(128, 'V') + "\n", {"a.htm"}, "capacity",
         msg(1, ControlLimit::visibility)},
        {"long dropped texts", "/" + std::string(10000, 'c') + "\n" + std::string(10000, 't') + "\na.htm \n#" +
         std::string(10000, 'n'), {"a.htm"}, "a.htm", none},
    };
    for (const CapacityCase& c : cases) {
        SCOPED_TRACE(c.what);
        int fds_before = open_fd_count();
        {
            Session s(c.text, c.files);
            testing::internal::CaptureStdout();
            std::string first = s.next();
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the parser prints nothing
            EXPECT_EQ(first, c.first);
            EXPECT_EQ(std::pair(s.last.limit, s.last.line), c.limit);
            if (c.first == "capacity") {
                EXPECT_EQ(s.flags & OPT_END_OF_LIST, 0u);
            }
        }
        EXPECT_EQ(open_fd_count(), fds_before);
    }
    Session s(many_definitions(64), {});
    EXPECT_EQ(s.next(), "end");
    EXPECT_EQ(s.lookup("D1"), 1);
    EXPECT_EQ(s.lookup("D63"), 63);
}

TEST(ControlCapacity, ArrayNameKeepsWhatFits)
{
    const std::string long_name(100, 'L');
    Session s("a.bmp " + std::string(99, 'K') + "\nb.bmp " + long_name + "\nc.bmp short\n", {"a.bmp", "b.bmp", "c.bmp"});
    EXPECT_EQ(s.next(), "a.bmp");
    EXPECT_EQ(s.array_name(), std::string(99, 'K'));
    EXPECT_EQ(s.run->settings.array_name_overflow_line, 0u);
    EXPECT_EQ(s.next(), "b.bmp");
    EXPECT_EQ(s.array_name(), std::string(99, 'L'));
    EXPECT_EQ(s.run->settings.array_name_overflow_line, 2u);
    EXPECT_EQ(s.next(), "c.bmp");
    EXPECT_EQ(s.array_name(), "short"s);
    EXPECT_EQ(s.run->settings.array_name_overflow_line, 0u);
    Session t(std::string(5000, 'x') + "\n", {});
    EXPECT_EQ(t.next(), "end");
    EXPECT_EQ(t.run->settings.array_name_overflow_line, 1u);
}

}  // namespace
