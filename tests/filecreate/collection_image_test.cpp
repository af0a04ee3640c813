// Layout of the collection image, byte for byte, in both byte orders, with
// both length widths and with alignment on addresses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

#include "filecreate/collection_image.hpp"
#include "filecreate/run_record.hpp"
#include "tests/common/test_support.hpp"

namespace {

using namespace std::string_literals;

struct ImageFixture : ::testing::Test {
    ScratchDir dir;
    std::unique_ptr<FileCreateRun> run = std::make_unique<FileCreateRun>();

    // Loads definitions and the target address the way a run does: by
    // reading a control file to its end.
    void define(const std::string& control_text)
    {
        run = std::make_unique<FileCreateRun>();
        write_file(dir / "ctl.txt", control_text);
        control_attach(run->control, ::open((dir / "ctl.txt").c_str(), O_RDONLY));
        ControlEntry end = next_control_entry(run->control, run->settings, run->flags, run->entry);
        EXPECT_EQ(end.status, EntryStatus::end_of_list);
        ::close(run->control.fd);
    }

    // Adds one file to the table and the data area, as the -f run does.
    void add(const char* path, const std::string& bytes, const char* mime = "MIME_HTML",
             const char* visibility = "FILE_VISIBLE")
    {
        write_file(dir / "data", bytes);
        char name[PATH_BUFFER_SIZE] = {};
        std::snprintf(name, sizeof name, "%s", path);
        ASSERT_TRUE(add_table_entry(run->table, 0, name, nullptr, nullptr, 0));
        make_array_name(name);
        ASSERT_TRUE(add_table_entry(run->table, 1, name, mime, visibility, 0));
        int fd = ::open((dir / "data").c_str(), O_RDONLY);
        ASSERT_EQ(emit_file_array(run->input, run->table, fd, run->c_source, name, 0, run->image), EmitStatus::ok);
        ::close(fd);
    }

    void start() { out_attach(run->image, ::open((dir / "img").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)); }

    // Completes the image and reads it back: every image written must read
    // back without a fault, with the names and data that went in.
    std::string finish(std::uint32_t& location)
    {
        location = write_collection_image(run->settings, run->table, run->input, run->image);
        out_close(run->image);
        std::string image = read_file(dir / "img");
        std::vector<CollectionRecord> records(run->table.row_count + 1);
        CollectionReading reading = read_collection_image(
            {reinterpret_cast<const unsigned char*>(image.data()), image.size()}, collection_layout_of(run->settings),
            records);
        EXPECT_EQ(reading.fault, CollectionFault::none);
        EXPECT_EQ(reading.table_location, location);
        EXPECT_EQ(reading.count, run->table.row_count);
        std::size_t data_at = 0;
        for (std::size_t i = 0; i < reading.count; ++i) {
            EXPECT_EQ(records[i].entry.name, run->table.rows[i].name.data());
            EXPECT_EQ(records[i].data.size(), run->table.lengths[i]);
            EXPECT_EQ(records[i].data.data(), reinterpret_cast<const unsigned char*>(image.data()) + data_at);
            EXPECT_NE(records[i].entry.visibility & 0x80, 0);
            data_at += run->table.lengths[i];
        }
        return image;
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
        define("%20000\n#define MAX_FILE_LENGTH 4\n#define FILE_HEADER_LEN " + std::to_string(header) + "\n");
        start();
        add("a.htm", "abc");
        std::uint32_t location = 0;
        std::string got = finish(location);
        EXPECT_EQ(location, 0x20000u + static_cast<std::uint32_t>(header) + 3u + 6u);
        EXPECT_EQ(got.size(), 3u + 6u + 14u + 16u + 4u);
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

}  // namespace
