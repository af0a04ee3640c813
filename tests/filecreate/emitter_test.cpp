// File arrays, array names and the user_files table text, tested on the
// functions themselves; the fast formatting is checked against a plain one.
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "c_emitter.hpp"
#include "run_flags.hpp"
#include "test_support.hpp"

namespace {

struct Emitted {
    EmitStatus status;
    std::string c_text;
    std::string image;
};

// Runs emit_file_array on bytes held in a scratch file.
Emitted emit(const std::string& bytes, const char* name, std::uint32_t flags)
{
    static OutFile c_out;
    static OutFile image_out;
    ScratchDir dir;
    write_file(dir / "in", bytes);
    int in_fd = ::open((dir / "in").c_str(), O_RDONLY);
    out_attach(c_out, ::open((dir / "c").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    out_attach(image_out, ::open((dir / "img").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    Emitted result;
    result.status = emit_file_array(in_fd, c_out, name, flags, image_out);
    ::close(in_fd);
    out_close(c_out);
    out_close(image_out);
    result.c_text = read_file(dir / "c");
    result.image = read_file(dir / "img");
    return result;
}

bool white(unsigned char b)
{
    return b == '\r' || b == '\n' || b == ' ' || b == '\t';
}

// The array as a plain, unoptimised formatter would write it: chunk by chunk,
// one snprintf per value, squeezing decided byte by byte.
Emitted reference(const std::string& bytes, const char* name, bool squeeze)
{
    Emitted r{EmitStatus::ok, {}, {}};
    r.c_text = std::string("static const unsigned char ") + (name ? name : "array") + "[] = {\r\n";
    unsigned char marker = 0xFF;
    for (std::size_t start = 0; start < bytes.size(); start += 32) {
        for (std::size_t i = start; i < bytes.size() && i < start + 32; ++i) {
            auto b = static_cast<unsigned char>(bytes[i]);
            if (squeeze && white(b) && marker == 0x20) {
                continue;
            }
            if (squeeze) {
                marker = white(b) ? 0x20 : 0xFF;
            }
            char value[8];
            std::snprintf(value, sizeof value, "0x%02x,", b);
            r.c_text += value;
            r.image += static_cast<char>(b);
        }
        r.c_text += "\r\n";
    }
    r.c_text += "};\r\n\n";
    return r;
}

class EmitterTest : public ::testing::Test {
protected:
    void SetUp() override { reset_emitter_state(); }
};

TEST_F(EmitterTest, WorkedExampleWithAndWithoutSqueezing)
{
    const std::string page = "\x3c\x70\x3e\x0d\x0a";
    Emitted plain = emit(page, "_web_index", 0);
    EXPECT_EQ(plain.c_text,
              "static const unsigned char _web_index[] = {\r\n0x3c,0x70,0x3e,0x0d,0x0a,\r\n};\r\n\n");
    EXPECT_EQ(plain.image, page);
    Emitted squeezed = emit(page, "_web_index", OPT_SQUEEZE_SPACE);
    EXPECT_EQ(squeezed.c_text,
              "static const unsigned char _web_index[] = {\r\n0x3c,0x70,0x3e,0x0d,\r\n};\r\n\n");
    EXPECT_EQ(squeezed.image, page.substr(0, 4));
    ASSERT_EQ(file_lengths().size(), 2u);
    EXPECT_EQ(file_lengths()[0], 5);
    EXPECT_EQ(file_lengths()[1], 4);
}

TEST_F(EmitterTest, SizesAroundTheChunkMatchThePlainFormatter)
{
    for (std::size_t size : {0u, 1u, 31u, 32u, 33u, 64u, 65u, 1000u}) {
        std::string bytes = random_bytes(size, static_cast<unsigned>(size));
        for (const char* name : {static_cast<const char*>(nullptr), "_named"}) {
            Emitted got = emit(bytes, name, 0);
            Emitted want = reference(bytes, name, false);
            EXPECT_EQ(got.c_text, want.c_text) << "size " << size;
            EXPECT_EQ(got.image, bytes) << "size " << size;
        }
    }
    EXPECT_EQ(emit("", nullptr, 0).c_text, "static const unsigned char array[] = {\r\n};\r\n\n");
}

TEST_F(EmitterTest, EveryByteValueInLowerCaseHex)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    Emitted got = emit(all, "_all", 0);
    EXPECT_EQ(got.c_text, reference(all, "_all", false).c_text);
    EXPECT_NE(got.c_text.find("0xab,"), std::string::npos);
    EXPECT_NE(got.c_text.find("0x05,"), std::string::npos);
}

TEST_F(EmitterTest, LargestInputIsConvertedOneMoreByteIsRefused)
{
    std::string bytes = random_bytes(INPUT_BUFFER_SIZE, 7);
    Emitted got = emit(bytes, "_big", 0);
    ASSERT_EQ(got.status, EmitStatus::ok);
    EXPECT_EQ(got.c_text, reference(bytes, "_big", false).c_text);
    EXPECT_EQ(file_lengths().back(), static_cast<std::int32_t>(INPUT_BUFFER_SIZE));

    Emitted refused = emit(bytes + "x", "_big", 0);
    EXPECT_EQ(refused.status, EmitStatus::too_large);
    EXPECT_EQ(refused.c_text, "");
    EXPECT_EQ(refused.image, "");
    EXPECT_EQ(file_lengths().size(), 1u);
}

TEST_F(EmitterTest, SqueezingKeepsTheFirstByteOfEachWhiteSpaceRun)
{
    struct Case {
        std::string in;
        std::string kept;
    };
    const Case cases[] = {
        {"a  \r\n b", "a b"},
        {"a\r\nb", "a\rb"},
        {"\t\t x", "\tx"},
        {" ", " "},
        {"x\n\ny\t \tz\r", "x\ny\tz\r"},
    };
    for (const auto& c : cases) {
        Emitted got = emit(c.in, "_s", OPT_SQUEEZE_SPACE);
        EXPECT_EQ(got.image, c.kept) << c.in;
        EXPECT_EQ(file_lengths().back(), static_cast<std::int32_t>(c.kept.size()));
    }
}

TEST_F(EmitterTest, SqueezeMarkerCrossesChunksAndDroppedChunksLeaveEmptyLines)
{
    // 31 letters, then a run of 40 blanks that starts at the end of line 1,
    // fills line 2 completely and runs into line 3.
    std::string bytes = std::string(31, 'a') + std::string(40, ' ') + "bc";
    Emitted got = emit(bytes, "_s", OPT_SQUEEZE_SPACE);
    EXPECT_EQ(got.c_text, reference(bytes, "_s", true).c_text);
    EXPECT_NE(got.c_text.find(",\r\n\r\n0x62,0x63,\r\n"), std::string::npos);
    EXPECT_EQ(got.image, std::string(31, 'a') + " bc");
}

TEST_F(EmitterTest, SqueezingMatchesThePlainFormatterOnRandomText)
{
    const std::string alphabet = "ab \t\r\n";
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::string raw = random_bytes(seed * 37, seed);
        std::string text;
        for (char c : raw) {
            text += alphabet[static_cast<unsigned char>(c) % alphabet.size()];
        }
        Emitted got = emit(text, "_r", OPT_SQUEEZE_SPACE);
        Emitted want = reference(text, "_r", true);
        EXPECT_EQ(got.c_text, want.c_text) << "seed " << seed;
        EXPECT_EQ(got.image, want.image) << "seed " << seed;
    }
}

TEST_F(EmitterTest, StreamedPiecesEqualOneBufferAcrossPieceBoundaries)
{
    // 200 KiB of white-space-heavy text: squeeze runs cross the 64 KiB pieces.
    std::string raw = random_bytes(200 * 1024 + 17, 99);
    std::string text;
    for (char c : raw) {
        text += " \t\nx"[static_cast<unsigned char>(c) % 4];
    }
    for (std::uint32_t flags : {0u, OPT_SQUEEZE_SPACE}) {
        Emitted got = emit(text, "_big", flags);
        Emitted want = reference(text, "_big", flags != 0);
        EXPECT_EQ(got.c_text, want.c_text) << flags;
        EXPECT_EQ(got.image, want.image) << flags;
    }
}

TEST_F(EmitterTest, PipeInputIsReadWholeFirst)
{
    // A pipe cannot be measured up front: it is read into the buffer whole.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string bytes = "a  b\r\n\r\nc";
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
    ScratchDir dir;
    static OutFile c_out;
    static OutFile image_out;
    out_attach(c_out, ::open((dir / "c").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    out_attach(image_out, -1);
    EXPECT_EQ(emit_file_array(fds[0], c_out, nullptr, OPT_SQUEEZE_SPACE, image_out), EmitStatus::ok);
    ::close(fds[0]);
    out_close(c_out);
    EXPECT_EQ(read_file(dir / "c"), reference(bytes, nullptr, true).c_text);
}

TEST(ArrayName, FromPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"web/index.htm", "_web_index"},
        {"img/logo.big.gif", "_img_logo.big"},
        {"xml?status.xml", "_xml_status"},
        {"a\\b.c", "_a_b"},
        {"my-page.htm", "_my-page"},
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

TEST_F(EmitterTest, TableEntryPiecesAndParameterNames)
{
    ASSERT_TRUE(add_table_entry(0, "web/index.htm", nullptr, nullptr, 0));
    ASSERT_TRUE(add_table_entry(1, "_web_index", "MIME_HTML", "FILE_VISIBLE", 0));
    EXPECT_EQ(user_table_text(),
              "{\"web/index.htm\", (unsigned char *)_web_index, sizeof(_web_index), MIME_HTML, FILE_VISIBLE},\r\n");

    const std::pair<const char*, const char*> rule[] = {
        {"XML?status.xml", "XML?status"}, {"xml_data.xml", "xml?data"}, {"XML1.xml", "XML?"},
        {"xml.htm", "xml?htm"},           {"xml.txt", "xml?txt"},       {"XML", "XML"},
        {"xml", "xml"},                   {"index.xml", "index.xml"},   {"xMl/a.b.c", "xMl?a.b"},
    };
    for (const auto& [path, stored] : rule) {
        reset_emitter_state();
        ASSERT_TRUE(add_table_entry(0, path, nullptr, nullptr, OPT_PARAMETER_NAME));
        EXPECT_EQ(user_table_text(), std::string("{\"") + stored + "\", ") << path;
        reset_emitter_state();
        ASSERT_TRUE(add_table_entry(0, path, nullptr, nullptr, 0));
        EXPECT_EQ(user_table_text(), std::string("{\"") + path + "\", ") << "rule off: " << path;
    }
    EXPECT_TRUE(add_table_entry(2, "ignored", "x", "y", 0));
    EXPECT_EQ(user_table_text(), "{\"xMl/a.b.c\", ");
}

TEST_F(EmitterTest, TableTextNeverOverflows)
{
    std::string path(120, 'p');
    std::size_t before = 0;
    int added = 0;
    while (add_table_entry(0, path.c_str(), nullptr, nullptr, 0)) {
        before = user_table_text().size();
        ++added;
    }
    EXPECT_EQ(added, static_cast<int>(TABLE_TEXT_SIZE / (path.size() + 5)));
    EXPECT_EQ(user_table_text().size(), before);
    EXPECT_LE(before, TABLE_TEXT_SIZE);
}

TEST_F(EmitterTest, TableWithoutFilesAndWithOne)
{
    ScratchDir dir;
    static OutFile out;
    out_attach(out, ::open((dir / "t").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    write_user_file_table(out);
    out_close(out);
    EXPECT_EQ(read_file(dir / "t"), "static const USER_FILE user_files[] = {\r\n{0} // end of list\r\n};\r\n");
}

TEST_F(EmitterTest, MoreThan128FilesAreRefused)
{
    for (std::size_t i = 0; i < MAX_FILES; ++i) {
        ASSERT_EQ(emit("x", "_x", 0).status, EmitStatus::ok);
    }
    EXPECT_EQ(emit("x", "_x", 0).status, EmitStatus::too_many_files);
    EXPECT_EQ(file_lengths().size(), MAX_FILES);
}

}  // namespace
