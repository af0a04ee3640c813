// The control-file parser: entries, options, identifiers, definitions, the
// target address and the array name buffer, read from real files.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "control_file.hpp"
#include "run_flags.hpp"
#include "test_support.hpp"

namespace {

using namespace std::string_literals;

int open_fd_count()
{
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    while (dir != nullptr && ::readdir(dir) != nullptr) {
        ++count;
    }
    if (dir != nullptr) {
        ::closedir(dir);
    }
    return count;
}

// A control file in a scratch folder that is the current folder meanwhile,
// with input files whose contents are their own names on disk, so that the
// bytes read from a returned descriptor tell which file was opened.
struct Session {
    ScratchDir dir;
    std::string old_cwd;
    ControlFile control;
    std::uint32_t flags = OPT_WRITE_BANNER;
    std::array<char, PATH_BUFFER_SIZE> path{};
    std::array<char, MIME_BUFFER_SIZE> mime{};
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};

    Session(const std::string& text, const std::vector<std::string>& files)
    {
        reset_control_state();
        char cwd[4096];
        old_cwd = ::getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        for (const std::string& name : files) {
            if (name.find('/') != std::string::npos) {
                ::mkdir((dir / name.substr(0, name.find('/'))).c_str(), 0755);
            }
            write_file(dir / name, name);
        }
        write_file(dir / "control.txt", text);
        EXPECT_EQ(::chdir(dir.path.c_str()), 0);
        control_attach(control, ::open("control.txt", O_RDONLY));
    }
    ~Session()
    {
        ::close(control.fd);
        EXPECT_EQ(::chdir(old_cwd.c_str()), 0);
    }
    // One call as the loop makes it; an opened file is read and closed.
    // Gives the file's contents, "missing" for a negative result, "end" or "capacity".
    std::string next()
    {
        flags &= ~OPT_PARAMETER_NAME;
        int fd = next_control_entry(control, flags, path, mime, visibility);
        if ((flags & OPT_END_OF_LIST) != 0) {
            EXPECT_EQ(fd, -1);
            return "end";
        }
        if (fd == CONTROL_OVER_CAPACITY) {
            return "capacity";
        }
        if (fd < 0) {
            return "missing";
        }
        char bytes[300] = {};
        ssize_t got = ::read(fd, bytes, sizeof bytes - 1);
        ::close(fd);
        return got > 0 ? std::string(bytes, static_cast<std::size_t>(got)) : "(empty)";
    }
};

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
};

constexpr std::uint32_t B = OPT_WRITE_BANNER;
const std::string HTML = "MIME_HTML";
const std::string VIS = "FILE_VISIBLE";

const std::vector<EntryCase> ENTRY_CASES = {
    {"blank after the name opens", "index.htm \n", {"index.htm"}, {{"index.htm", "index.htm", B, HTML, VIS, ""}}, ""},
    {"line end after the name does not", "index.htm\n", {"index.htm"}, {}, "index.htm"},
    {"comment after a blank", "index.htm // start\n", {"index.htm"}, {{"index.htm", "index.htm", B, HTML, VIS, ""}}, ""},
    {"comment right after the name", "index.htm// start\n", {"index.htm"}, {}, "index.htm"},
    {"comment line", "/ one slash\nq.htm \n", {"q.htm"}, {{"q.htm", "q.htm", B, HTML, VIS, ""}}, ""},
    {"single slash inside a token", "web/i.htm \nab/cd\n", {"web/i.htm"}, {{"web/i.htm", "web/i.htm", B, HTML, VIS, ""}}, "ab/cd"},
    {"double slash ends a plain token", "ab//cd\n", {}, {}, "ab"},
    {"blanks dropped inside a token", "a b.htm \n", {"ab.htm"}, {{"ab.htm", "ab.htm", B, HTML, VIS, ""}}, ""},
    {"second name on the line wins", "a.htm b.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"name before the line end is array name", "a.htm b.htm\n", {"a.htm", "b.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "b.htm"}}, "b.htm"},
    {"state 8 carried over the line end", "index.htm\nmy page.htm \n", {"index.htm", "my", "page.htm"}, {{"page.htm", "page.htm", B, HTML, VIS, ""}}, ""},
    {"hyphen before the first full stop is text", "my-page.htm \n", {"my-page.htm"}, {{"my-page.htm", "my-page.htm", B, HTML, VIS, ""}}, ""},
    {"hyphen after the full stop starts an option", "page.my-part.htm \n", {"art.htm"}, {{"art.htm", "art.htm", B, HTML, VIS, ""}}, ""},
    {"question mark opens a hyphen", "xml?data.xml \n", {"xml-data.xml"}, {{"xml-data.xml", "xml?data.xml", B, HTML, VIS, ""}}, ""},
    {"vertical bar marks a name", "|readme \n", {"readme"}, {{"readme", "readme", B, HTML, VIS, ""}}, ""},
    {"missing file is negative", "gone.htm \nq.htm \n", {"q.htm"}, {{"missing", "gone.htm", B, HTML, VIS, ""}, {"q.htm", "q.htm", B, HTML, VIS, ""}}, ""},
    {"option letters, both cases", "a.htm -W -n -I\n", {"a.htm"}, {{"a.htm", "a.htm", B | 0x19, HTML, VIS, ""}}, ""},
    {"tab and blanks after the hyphen", "a.htm\t-\t w\n", {"a.htm"}, {{"a.htm", "a.htm", B | OPT_SQUEEZE_SPACE, HTML, VIS, ""}}, ""},
    {"unknown option letter returns to state 0", "a.htm -x rest\n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "rest"}}, "rest"},
    {"? returns to state 0", "a.htm -? -w\n", {"a.htm"}, {{"a.htm", "a.htm", B | OPT_PARAMETER_NAME, HTML, VIS, "-w"}}, "-w"},
    {"options cleared for the next entry", "a.htm -w -n -i -?\nb.htm \n", {"a.htm", "b.htm"},
     {{"a.htm", "a.htm", B | 0x99, HTML, VIS, ""}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"bitmap array name", "logo.bmp -n logo_inverted\n", {"logo.bmp"}, {{"logo.bmp", "logo.bmp", B | OPT_INVERT, HTML, VIS, "logo_inverted"}}, "logo_inverted"},
    {"t and c identifiers, reset per entry", "a.htm -t=MIME_GIF -c:FILE_HIDDEN x\nb.htm \n", {"a.htm", "b.htm"},
     {{"a.htm", "a.htm", B, "MIME_GIF", "FILE_HIDDEN", "x"}, {"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"any separator byte is skipped", "a.htm -tXYZ -Cq\n", {"a.htm"}, {{"a.htm", "a.htm", B, "YZ", "", "old"}}, "old"},
    {"empty identifier", "a.htm -t= \n", {"a.htm"}, {{"a.htm", "a.htm", B, "", VIS, ""}}, ""},
    {"no separator keeps the default", "a.htm -t -c\n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, "old"}}, "old"},
    {"slash ends a value, not a comment", "a.htm -t=A/tail\n", {"a.htm"}, {{"a.htm", "a.htm", B, "A", VIS, "tail"}}, "tail"},
    {"hyphen ending a line defers the entry", "a.htm -\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"target address line end does not return", "a.htm %20\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
    {"definition before a file", "#X 3 a.htm \n", {"a.htm"}, {{"a.htm", "a.htm", B, HTML, VIS, ""}}, ""},
    {"definition line end does not return", "a.htm #X 3\nb.htm \n", {"a.htm", "b.htm"}, {{"b.htm", "b.htm", B, HTML, VIS, ""}}, ""},
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
    {"last line without a file changes nothing", "index.htm", {"index.htm"}, {}, "old"},
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
                EXPECT_EQ(control_array_name(), want.array_name);
            }
            EXPECT_EQ(s.next(), "end");
            EXPECT_EQ(s.next(), "end");
            EXPECT_EQ(control_array_name(), c.array_name_at_end);
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
    EXPECT_EQ(lookup_definition("FILE_HEADER_LEN"), 16);
    EXPECT_EQ(lookup_definition("ALIGN"), 1);
    EXPECT_EQ(control_target_address(), 0x20000u);
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

struct DefinitionCase {
    std::string text;
    std::vector<std::pair<std::string, std::int32_t>> lookups;
    std::uint32_t target;
};

TEST(ControlDefinitions, NamesValuesAndTargetAddress)
{
    const std::vector<DefinitionCase> cases = {
        {"#define X 10\n", {{"X", 10}, {"x", 0}, {"define", 0}}, 0},
        {"#X 5\n#   define\tY 7\n", {{"X", 5}, {"Y", 7}}, 0},
        {"#define X 0x10\n#define Z -1\n", {{"X", 7210}, {"Z", -29}}, 0},
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
        {"%0x20000\n", {}, 0x4120000},
        {"#define %7 1\n", {{"%7", 1}}, 0},
    };
    for (const DefinitionCase& c : cases) {
        SCOPED_TRACE(c.text);
        Session s(c.text, {});
        EXPECT_EQ(s.next(), "end");
        for (const auto& [name, value] : c.lookups) {
            EXPECT_EQ(lookup_definition(name.c_str()), value) << name;
        }
        EXPECT_EQ(control_target_address(), c.target);
    }
    reset_control_state();
    EXPECT_EQ(lookup_definition("X"), 0);
    EXPECT_EQ(lookup_definition(nullptr), 0);
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
    ControlFile control;
    control_attach(control, -1);
    std::uint32_t flags = 0;
    std::array<char, PATH_BUFFER_SIZE> path{};
    std::array<char, MIME_BUFFER_SIZE> mime{};
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};
    EXPECT_EQ(next_control_entry(control, flags, path, mime, visibility), -1);
    EXPECT_EQ(flags, OPT_END_OF_LIST);
}

struct CapacityCase {
    const char* what;
    std::string text;
    std::vector<std::string> files;
    std::string first;    // result of the first call
    std::string message;  // everything printed
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
    auto msg = [](unsigned line, const std::string& what) {
        return "Control file line " + std::to_string(line) + ": " + what + ". Terminating\n\n";
    };
    const std::vector<CapacityCase> cases = {
        {"64 definitions", many_definitions(64) + "a.htm \n", {"a.htm"}, "a.htm", ""},
        {"65 definitions", many_definitions(65) + "a.htm \n", {"a.htm"}, "capacity", msg(65, "more than 64 definitions")},
        {"name of 255", "#" + std::string(255, 'N') + " 1\na.htm \n", {"a.htm"}, "a.htm", ""},
        {"name of 256", "#" + std::string(256, 'N') + " \n1\na.htm \n", {"a.htm"}, "capacity",
         msg(1, "definition name longer than 255 characters")},
        {"value of 255", "#X " + std::string(254, '0') + "7\na.htm \n", {"a.htm"}, "a.htm", ""},
        {"value of 256", "\r\n\r#X " + std::string(256, '0') + "\na.htm \n", {"a.htm"}, "capacity",
         msg(3, "number longer than 255 characters")},
        {"address of 255", "%" + std::string(254, '0') + "1\na.htm \n", {"a.htm"}, "a.htm", ""},
        {"address of 256", "a.htm %" + std::string(256, '0') + " \n", {"a.htm"}, "capacity",
         msg(1, "number longer than 255 characters")},
        {"path of 126", long_path + " \n", {long_path}, long_path, ""},
        {"path of 127", "a.htm q" + long_path + " \n", {"a.htm"}, "capacity", msg(1, "path longer than 126 characters")},
        {"MIME type of 31", "a.htm -t=" + std::string(31, 'M') + "\n", {"a.htm"}, "a.htm", ""},
        {"MIME type of 32", "\n\na.htm -t=" + std::string(32, 'M') + "\n", {"a.htm"}, "capacity",
         msg(3, "MIME-type identifier longer than 31 characters")},
        {"MIME type replaced", "a.htm -t=" + std::string(32, 'M') + " -t=OK\n", {"a.htm"}, "a.htm", ""},
        {"MIME type never used", "a.b-t=" + std::string(40, 'M') + "\n", {}, "end", ""},
        {"visibility of 127", "a.htm -c=" + std::string(127, 'V') + "\n", {"a.htm"}, "a.htm", ""},
        {"visibility of 128", "a.htm -c=" + std::string(128, 'V') + "\n", {"a.htm"}, "capacity",
         msg(1, "visibility identifier longer than 127 characters")},
        {"long dropped texts", "/" + std::string(10000, 'c') + "\n" + std::string(10000, 't') + "\na.htm \n#" +
         std::string(10000, 'n'), {"a.htm"}, "a.htm", ""},
    };
    for (const CapacityCase& c : cases) {
        SCOPED_TRACE(c.what);
        int fds_before = open_fd_count();
        {
            Session s(c.text, c.files);
            testing::internal::CaptureStdout();
            std::string first = s.next();
            EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
            EXPECT_EQ(first, c.first);
            if (c.first == "capacity") {
                EXPECT_EQ(s.flags & OPT_END_OF_LIST, 0u);
            }
        }
        EXPECT_EQ(open_fd_count(), fds_before);
    }
    Session s(many_definitions(64), {});
    EXPECT_EQ(s.next(), "end");
    EXPECT_EQ(lookup_definition("D1"), 1);
    EXPECT_EQ(lookup_definition("D63"), 63);
}

TEST(ControlCapacity, ArrayNameKeepsWhatFits)
{
    const std::string long_name(100, 'L');
    Session s("a.bmp " + std::string(99, 'K') + "\nb.bmp " + long_name + "\nc.bmp short\n", {"a.bmp", "b.bmp", "c.bmp"});
    EXPECT_EQ(s.next(), "a.bmp");
    EXPECT_EQ(control_array_name(), std::string(99, 'K'));
    EXPECT_EQ(control_array_name_overflow_line(), 0u);
    EXPECT_EQ(s.next(), "b.bmp");
    EXPECT_EQ(control_array_name(), std::string(99, 'L'));
    EXPECT_EQ(control_array_name_overflow_line(), 2u);
    EXPECT_EQ(s.next(), "c.bmp");
    EXPECT_EQ(control_array_name(), "short"s);
    EXPECT_EQ(control_array_name_overflow_line(), 0u);
    Session t(std::string(5000, 'x') + "\n", {});
    EXPECT_EQ(t.next(), "end");
    EXPECT_EQ(control_array_name_overflow_line(), 1u);
    control_clear_array_name();
    EXPECT_EQ(control_array_name(), ""s);
    EXPECT_EQ(control_array_name_overflow_line(), 0u);
}

}  // namespace
