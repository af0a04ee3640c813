// What io/ has to supply itself on Windows, where the C runtime gives every
// file the inode number 0, opens descriptors in text mode by default and
// reports sizes in 32 bits.
#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdlib.h>
#include <unistd.h>
#include <windows.h>

#include "io/chunk_reader.hpp"
#include "io/file_access.hpp"
#include "io/file_read.hpp"
#include "io/out_file.hpp"
#include "tests/common/test_support.hpp"

TEST(WindowsIdentity, NamesAndHardLinksOfOneFileAgreeOtherFilesDiffer)
{
    ScratchDir dir;
    write_file(dir / "a.txt", "same");
    write_file(dir / "c.txt", "same");
    ASSERT_TRUE(::CreateHardLinkA((dir / "b.txt").c_str(), (dir / "a.txt").c_str(), nullptr));
    int a = open_input((dir / "a.txt").c_str());
    int b = open_input((dir / "b.txt").c_str());
    int c = open_input((dir / "c.txt").c_str());
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ASSERT_GE(c, 0);
    for (const std::string& name : {dir / "a.txt", dir / "b.txt", dir / "A.TXT", dir.path + "\\.\\a.txt"}) {
        EXPECT_TRUE(path_is_open_file(name.c_str(), a)) << name;
    }
    EXPECT_TRUE(same_open_file(a, b));
    EXPECT_FALSE(same_open_file(a, c));
    EXPECT_FALSE(path_is_open_file((dir / "c.txt").c_str(), a));
    EXPECT_FALSE(path_is_open_file((dir / "missing.txt").c_str(), a));
    EXPECT_FALSE(identity_of_fd(-1).known);

    // An output that the run holds open for writing is still recognised.
    int out = create_output((dir / "out.c").c_str());
    ASSERT_GE(out, 0);
    EXPECT_TRUE(path_is_open_file((dir / "out.c").c_str(), out));
    EXPECT_FALSE(same_open_file(out, a));

    // A folder has an identity but is no input.
    EXPECT_TRUE(identity_of_path(dir.path.c_str()).known);
    EXPECT_LT(open_input(dir.path.c_str()), 0);
    for (int fd : {a, b, c, out}) {
        ::close(fd);
    }
}

TEST(WindowsBinaryMode, BytesPassUnchangedWhenTextIsTheDefault)
{
    ScratchDir dir;
    const std::string path = dir / "bytes";
    const std::string bytes("a\nb\r\nc\x1a" "d\r", 9);
    _fmode = _O_TEXT;
    int out = create_output(path.c_str());
    EXPECT_TRUE(out >= 0 && write_all(out, bytes.data(), bytes.size()));
    ::close(out);
    std::array<unsigned char, 64> got{};
    std::size_t count = 0;
    int in = open_input(path.c_str());
    EXPECT_EQ(read_whole(in, got, count), ReadStatus::ok);
    ::close(in);
    _fmode = _O_BINARY;
    EXPECT_EQ(read_file(path), bytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.data()), count), bytes);
}

TEST(WindowsSizes, AFileOver4GiBKeepsItsSize)
{
    ScratchDir dir;
    const std::string path = dir / "large";
    constexpr std::int64_t size = (std::int64_t{5} << 30) + 3;
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;  // sparse where the file system allows, so that no disk space is taken
    ::DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = size;
    ASSERT_TRUE(::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle));
    ::CloseHandle(handle);

    int fd = open_input(path.c_str());
    ASSERT_GE(fd, 0);
    std::size_t reported = 0;
    EXPECT_TRUE(regular_file_size(fd, reported));
    EXPECT_EQ(reported, static_cast<std::size_t>(size));
    auto reader = std::make_unique<ChunkReader>();
    reader_attach(*reader, fd);
    std::array<unsigned char, 10> head{};
    EXPECT_TRUE(reader_take(*reader, head.data(), head.size()));
    EXPECT_EQ(reader_remaining(*reader), size - 10);
    ::close(fd);
}
