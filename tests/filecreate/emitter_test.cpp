// File arrays, tested on the emitter itself; the fast formatting is checked
// against a plain one.
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "filecreate/run_record.hpp"
#include "tests/common/test_support.hpp"

namespace {

struct Emitted {
    EmitStatus status;
    std::string c_text;
    std::string image;
};

// Runs emit_file_array on bytes held in a scratch file, with the run's
// C source and image outputs.
Emitted emit(FileCreateRun& run, const std::string& bytes, const char* name, std::uint32_t flags)
{
    OutFile& c_out = run.c_source;
    OutFile& image_out = run.image;
    ScratchDir dir;
    write_file(dir / "in", bytes);
    int in_fd = ::open((dir / "in").c_str(), O_RDONLY);
    out_attach(c_out, ::open((dir / "c").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    out_attach(image_out, ::open((dir / "img").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    Emitted result;
    result.status = emit_file_array(run.input, run.table, in_fd, c_out, name, flags, image_out);
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
    std::unique_ptr<FileCreateRun> run = std::make_unique<FileCreateRun>();

    Emitted emit(const std::string& bytes, const char* name, std::uint32_t flags)
    {
        return ::emit(*run, bytes, name, flags);
    }
    std::uint32_t last_length() const { return run->table.lengths[run->table.length_count - 1]; }
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
    ASSERT_EQ(run->table.length_count, 2u);
    EXPECT_EQ(run->table.lengths[0], 5u);
    EXPECT_EQ(run->table.lengths[1], 4u);
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
    std::string bytes = random_bytes(1048576, 7);
    Emitted got = emit(bytes, "_big", 0);
    ASSERT_EQ(got.status, EmitStatus::ok);
    EXPECT_EQ(got.c_text, reference(bytes, "_big", false).c_text);
    EXPECT_EQ(last_length(), 1048576u);

    Emitted refused = emit(bytes + "x", "_big", 0);
    EXPECT_EQ(refused.status, EmitStatus::too_large);
    EXPECT_EQ(refused.c_text, "");
    EXPECT_EQ(refused.image, "");
    EXPECT_EQ(run->table.length_count, 1u);
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
        EXPECT_EQ(last_length(), c.kept.size());
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
    out_attach(run->c_source, ::open((dir / "c").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    EXPECT_EQ(emit_file_array(run->input, run->table, fds[0], run->c_source, nullptr, OPT_SQUEEZE_SPACE, run->image),
              EmitStatus::ok);
    ::close(fds[0]);
    out_close(run->c_source);
    EXPECT_EQ(read_file(dir / "c"), reference(bytes, nullptr, true).c_text);
}

// Bytes appended after the file was measured are not read.
TEST_F(EmitterTest, InputIsTakenAsItWasWhenOpened)
{
    ScratchDir dir;
    write_file(dir / "grows", "first");
    int grows = ::open((dir / "grows").c_str(), O_RDONLY);
    TakenInput input;
    ASSERT_EQ(take_input(run->input, grows, input), EmitStatus::ok);
    write_file(dir / "grows", "first" + std::string(2000000, 'x'));
    out_attach(run->c_source, ::open((dir / "c").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    EXPECT_EQ(emit_taken_input(run->input, run->table, input, run->c_source, nullptr, 0, run->image), EmitStatus::ok);
    ::close(grows);
    out_close(run->c_source);
    EXPECT_EQ(read_file(dir / "c"), reference("first", nullptr, false).c_text);
}

TEST_F(EmitterTest, MoreThan128FilesAreRefused)
{
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(emit("x", "_x", 0).status, EmitStatus::ok);
    }
    EXPECT_EQ(emit("x", "_x", 0).status, EmitStatus::too_many_files);
    EXPECT_EQ(run->table.length_count, 128u);
}

}  // namespace
