// Layout of the collection image, byte for byte, in both byte orders, with
// both length widths and with alignment on addresses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "byte_order.hpp"
#include "c_emitter.hpp"
#include "collection_image.hpp"
#include "control_file.hpp"
#include "test_support.hpp"

namespace {

using namespace std::string_literals;

struct ImageFixture : ::testing::Test {
    ScratchDir dir;
    OutFile image;

    void SetUp() override
    {
        reset_control_state();
        reset_emitter_state();
    }

    // Loads definitions and the target address the way a run does: by
    // reading a control file to its end.
    void define(const std::string& control_text)
    {
        write_file(dir / "ctl.txt", control_text);
        ControlFile control;
        control_attach(control, ::open((dir / "ctl.txt").c_str(), O_RDONLY));
        std::uint32_t flags = 0;
        std::array<char, PATH_BUFFER_SIZE> path{};
        std::array<char, MIME_BUFFER_SIZE> mime{};
        std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};
        EXPECT_EQ(next_control_entry(control, flags, path, mime, visibility), -1);
        ::close(control.fd);
    }

    // Adds one file to the table and the data area, as the -f run does.
    void add(const char* path, const std::string& bytes, const char* mime = "MIME_HTML",
             const char* visibility = "FILE_VISIBLE")
    {
        write_file(dir / "data", bytes);
        char name[PATH_BUFFER_SIZE] = {};
        std::snprintf(name, sizeof name, "%s", path);
        ASSERT_TRUE(add_table_entry(0, name, nullptr, nullptr, 0));
        make_array_name(name);
        ASSERT_TRUE(add_table_entry(1, name, mime, visibility, 0));
        static OutFile c_source;
        out_attach(c_source, -1);
        int fd = ::open((dir / "data").c_str(), O_RDONLY);
        ASSERT_EQ(emit_file_array(fd, c_source, name, 0, image), EmitStatus::ok);
        ::close(fd);
    }

    void start() { out_attach(image, ::open((dir / "img").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)); }

    std::string finish(std::uint32_t& location)
    {
        location = write_collection_image(image);
        out_close(image);
        return read_file(dir / "img");
    }
};

TEST_F(ImageFixture, WorkedExampleBigEndian)
{
    define("%20000000\n#define ALIGN 1\n#define BIG_ENDIAN 1\n#define MAX_FILE_LENGTH 4\n"
           "#define MIME_X 2\n#define VIS_X 1\n");
    start();
    add("a.htm", "1234567", "MIME_X", "VIS_X");
    std::uint32_t location = 0;
    std::string got = finish(location);
    const std::string want = "1234567"s + "a.htm\0"s + "\0\0\0"s + "\x20\x00\x00\x07\x20\x00\x00\x00"s +
                             "\x00\x00\x00\x07\x02\x81"s + "\0\0"s + std::string(16, '\0') + "\x20\x00\x00\x10"s;
    EXPECT_EQ(got, want);
    EXPECT_EQ(location, 0x20000010u);
}

TEST_F(ImageFixture, WorkedExampleLittleEndian)
{
    define("%20000000\n#define ALIGN 1\n#define MAX_FILE_LENGTH 4\n#define MIME_X 2\n#define VIS_X 1\n");
    start();
    add("a.htm", "1234567", "MIME_X", "VIS_X");
    std::uint32_t location = 0;
    std::string got = finish(location);
    const std::string want = "1234567"s + "a.htm\0"s + "\0\0\0"s + "\x07\x00\x00\x20\x00\x00\x00\x20"s +
                             "\x07\x00\x00\x00\x02\x81"s + "\0\0"s + std::string(16, '\0') + "\x10\x00\x00\x20"s;
    EXPECT_EQ(got, want);
}

TEST_F(ImageFixture, TwoByteLengthsWithoutAlignment)
{
    // The low 16 bits are stored while the next data address still moves on
    // by the full length (the -f run refuses this case before it gets here).
    define("#define BIG_ENDIAN 1\n#define MAX_FILE_LENGTH 2\n");
    start();
    add("big.bin", std::string(70000, 'b'));
    add("c.htm", "c", "MIME_UNDEFINED", "NOT_DEFINED");
    std::uint32_t location = 0;
    std::string got = finish(location);
    EXPECT_EQ(location, 70001u + 8u + 6u);  // no padding after the names
    std::string records = got.substr(location, 24);
    EXPECT_EQ(records, "\x00\x01\x11\x71\x00\x00\x00\x00\x11\x70\x00\x80"s
                       "\x00\x01\x11\x79\x00\x01\x11\x70\x00\x01\x00\x80"s);
    EXPECT_EQ(got.size(), 70001u + 14u + 24u + 16u + 4u);
}

TEST_F(ImageFixture, AlignmentFollowsAddressesNotOffsets)
{
    // Base 0x1003 (target 0x1000 plus a 3-byte header): padding makes the
    // addresses, not the file offsets, multiples of 4.
    define("%1000\n#define FILE_HEADER_LEN 3\n#define ALIGN 1\n");
    start();
    add("ab.c", "xy");
    std::uint32_t location = 0;
    std::string got = finish(location);
    // data at 0x1003-0x1004, name "ab.c\0" at 0x1005-0x1009, pad to 0x100C.
    EXPECT_EQ(location, 0x100Cu);
    EXPECT_EQ(got.substr(2, 5), "ab.c\0"s);
    EXPECT_EQ(got.substr(7, 2), "\0\0"s);
    // A 12-byte record from 0x100C ends on 0x1018: no padding after it.
    EXPECT_EQ(got.size(), 9u + 12u + 16u + 4u);
    EXPECT_EQ(got.substr(9, 12), "\x05\x10\x00\x00\x03\x10\x00\x00\x02\x00\x00\x80"s);
}

TEST_F(ImageFixture, HeaderLengthShiftsEveryAddress)
{
    for (int header : {0, 16, 17}) {
        SetUp();
        define("%20000\n#define MAX_FILE_LENGTH 4\n#define FILE_HEADER_LEN " + std::to_string(header) + "\n");
        start();
        add("a.htm", "abc");
        std::uint32_t location = 0;
        std::string got = finish(location);
        EXPECT_EQ(location, 0x20000u + static_cast<std::uint32_t>(header) + 3u + 6u);
        EXPECT_EQ(got.size(), 3u + 6u + 14u + 16u + 4u);
        EXPECT_EQ(total_file_length(), 3u);
    }
}

TEST_F(ImageFixture, NoFiles)
{
    define("%7\n#define ALIGN 1\n");
    start();
    std::uint32_t location = 0;
    std::string got = finish(location);
    EXPECT_EQ(location, 8u);
    EXPECT_EQ(got, "\0"s + std::string(16, '\0') + "\x08\x00\x00\x00"s);
}

TEST(StoreU32, BothByteOrders)
{
    unsigned char b[4];
    store_u32(true, b, 0x12345678);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "\x12\x34\x56\x78");
    store_u32(false, b, 0x12345678);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "\x78\x56\x34\x12");
}

}  // namespace
