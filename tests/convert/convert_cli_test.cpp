// The installed KorvaneConvert: banner, modes, header bytes, messages, exit
// codes and what is left in the output.
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "crc16.hpp"
#include "key_stream.hpp"
#include "test_support.hpp"

namespace {

using namespace std::string_literals;

const std::string BANNER =
    "      KorvaneConvert V1.8 - supporting encryption and Motorola binary format [2M binary support]\r\r\n";

RunResult convert(const std::vector<std::string>& args, const std::string& cwd)
{
    return run_program(installed_program("KorvaneConvert"), args, cwd);
}

std::uint16_t crc(const std::string& bytes, std::uint16_t start = 0)
{
    return crc16_update(start, reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<std::uint32_t>(bytes.size()));
}

std::string be16(std::uint16_t v)
{
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

std::string be32(std::uint32_t v)
{
    return be16(static_cast<std::uint16_t>(v >> 16)) + be16(static_cast<std::uint16_t>(v));
}

// Two records with a 4-byte gap: the image is "ABCD", 4 x 0xFF, "EF".
const std::string RECORDS = be32(0x08000000) + be32(4) + "ABCD" + be32(0x08000008) + be32(2) + "EF";
const std::string IMAGE = "ABCD\xff\xff\xff\xff" "EF"s;

TEST(ConvertCli, BannerVersionAndMissingFiles)
{
    ScratchDir dir;
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
    };
    const Case cases[] = {
        {{}, 0, ""},
        {{"-v"}, 0, BANNER},
        {{"-v", "x", "y"}, 0, BANNER},
        {{"missing.bin", "out.bin", "-b"}, 1, BANNER + "Input file could not be found. Terminating\n\n"},
        {{"."}, 1, BANNER + "Input file could not be found. Terminating\n\n"},
    };
    for (const auto& c : cases) {
        RunResult r = convert(c.args, dir.path);
        EXPECT_EQ(r.exit_code, c.code);
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_FALSE(file_exists(dir / "out.bin"));
}

TEST(ConvertCli, PlainImage)
{
    ScratchDir dir;
    write_file(dir / "in.mot", RECORDS);
    for (const char* mode : {"-b", "-bin", "-bx"}) {
        RunResult r = convert({"in.mot", "out.bin", mode, "ignored", "ignored", "x", "y"}, dir.path);
        EXPECT_EQ(r.exit_code, 0);
        EXPECT_EQ(r.out, BANNER);
        EXPECT_EQ(read_file(dir / "out.bin"), IMAGE);
    }
}

TEST(ConvertCli, HeaderWithoutKey)
{
    ScratchDir dir;
    write_file(dir / "in.mot", RECORDS);
    RunResult r = convert({"in.mot", "out.bin", "-h-BeEf"}, dir.path);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(read_file(dir / "out.bin"), be32(10) + "\xbe\xef"s + be16(crc(IMAGE)) + IMAGE);

    // Suffix bytes take part in the CRC but are not written.
    r = convert({"in.mot", "out.bin", "xyzbeef", "x0102ff"}, dir.path);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(read_file(dir / "out.bin"), be32(10) + "\xbe\xef"s + be16(crc("\x01\x02\xff", crc(IMAGE))) + IMAGE);

    write_file(dir / "empty", "");
    convert({"empty", "out.bin", "-h-0001", "-abcd"}, dir.path);
    EXPECT_EQ(read_file(dir / "out.bin"), be32(0) + "\x00\x01"s + be16(crc("\xab\xcd")));
}

TEST(ConvertCli, HeaderWithKeySeedAndRotation)
{
    ScratchDir dir;
    write_file(dir / "in.mot", RECORDS);
    const unsigned char keys[] = {0x11, 0x22, 0x33};
    for (int rotation : {0, 3, 10}) {
        char rot[8];
        std::snprintf(rot, sizeof rot, "r%04X", rotation);
        RunResult r = convert({"in.mot", "out.bin", "-h-1234", "s55", "k112233", "s1D0F", rot}, dir.path);
        ASSERT_EQ(r.exit_code, 0) << r.out;
        std::string enc = IMAGE;
        encrypt_image(reinterpret_cast<unsigned char*>(enc.data()), 10, keys, 3, 0x1D0F);
        std::string rotated = enc.substr(10 - static_cast<std::size_t>(rotation)) +
                              enc.substr(0, 10 - static_cast<std::size_t>(rotation));
        std::string want = be32(10) + "\x12\x34"s + be16(crc("\x55", crc(rotated))) + be16(crc("\x55", crc(IMAGE))) +
                           rotated;
        EXPECT_EQ(read_file(dir / "out.bin"), want) << rotation;
    }
    // Argument 4 of its first character alone: no suffix, still encrypted.
    RunResult r = convert({"in.mot", "out.bin", "-h-1234", "-", "k07"}, dir.path);
    EXPECT_EQ(r.exit_code, 0);
    std::string out = read_file(dir / "out.bin");
    EXPECT_EQ(out.size(), 20u);
    EXPECT_EQ(out.substr(8, 2), be16(crc(IMAGE)));
}

TEST(ConvertCli, BadCommandLinesAreRefusedBeforeAnyFileIsCreated)
{
    ScratchDir dir;
    write_file(dir / "in.mot", RECORDS);
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{"in.mot"}, 2, "Output file could not be created. Terminating\n\n"},
        {{"in.mot", "out.bin"}, 3, "Argument 3 (mode and image magic) missing. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-12"}, 3,
         "Argument 3 needs four hex digits of image magic from its fourth character. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", ""}, 3, "Argument 4 is empty. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x123"}, 3, "Argument 4 holds an odd number of hex digits. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x", "k1"}, 3, "Argument 5 holds an odd number of hex digits. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x", "k12", "s12"}, 3,
         "Argument 6 needs four hex digits after its first character. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x", "k12", "s1234", "r1"}, 3,
         "Argument 7 needs four hex digits after its first character. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x", "k"}, 3,
         "Argument 5 holds no key bytes for a non-empty image. Terminating\n\n"},
        {{"in.mot", "out.bin", "-h-1234", "x", "k12", "s0000", "r000B"}, 3,
         "Argument 7 rotates by more bytes than the image holds. Terminating\n\n"},
        {{"in.mot", "no/such/dir/out.bin", "-b"}, 2, "Output file could not be created. Terminating\n\n"},
    };
    for (const auto& c : cases) {
        RunResult r = convert(c.args, dir.path);
        EXPECT_EQ(r.exit_code, c.code) << c.message;
        EXPECT_EQ(r.out, BANNER + c.message);
        EXPECT_FALSE(file_exists(dir / "out.bin")) << c.message;
    }
    // More than 100 bytes of digits are cut at 100, odd or not.
    std::string many = "x" + std::string(201, '1');
    EXPECT_EQ(convert({"in.mot", "out.bin", "-h-1234", many}, dir.path).exit_code, 0);
    EXPECT_EQ(read_file(dir / "out.bin").substr(6, 2), be16(crc(std::string(100, '\x11'), crc(IMAGE))));
}

TEST(ConvertCli, InputBeyondCapacityIsRefused)
{
    ScratchDir dir;
    write_file(dir / "max.bin", std::string(0x200000, '\x5a'));
    EXPECT_EQ(convert({"max.bin", "out.bin", "-b"}, dir.path).exit_code, 0);
    EXPECT_EQ(read_file(dir / "out.bin").size(), 0x200000u);

    write_file(dir / "over.bin", std::string(0x200001, '\x5a'));
    RunResult r = convert({"over.bin", "big.bin", "-h-1234"}, dir.path);
    EXPECT_EQ(r.exit_code, 3);
    EXPECT_EQ(r.out, BANNER + "Input file larger than 2097152 bytes. Terminating\n\n");
    EXPECT_FALSE(file_exists(dir / "big.bin"));
}

TEST(ConvertCli, NeverDestroysItsInputAndReportsFailedWrites)
{
    ScratchDir dir;
    write_file(dir / "in.mot", RECORDS);
    ASSERT_EQ(::link((dir / "in.mot").c_str(), (dir / "hard.mot").c_str()), 0);
    ASSERT_EQ(::symlink("in.mot", (dir / "soft.mot").c_str()), 0);
    for (const char* output : {"in.mot", "hard.mot", "soft.mot"}) {
        RunResult r = convert({"in.mot", output, "-b"}, dir.path);
        EXPECT_EQ(r.exit_code, 2);
        EXPECT_EQ(r.out, BANNER + "Output file " + output + " is the same file as the input. Terminating\n\n");
        EXPECT_EQ(read_file(dir / "in.mot"), RECORDS);
    }
    for (const char* mode : {"-b", "-h-1234"}) {
        RunResult r = convert({"in.mot", "/dev/full", mode}, dir.path);
        EXPECT_EQ(r.exit_code, 1) << mode;
        EXPECT_EQ(r.out, BANNER + "Output file write failed. Terminating\n\n");
    }
}

}  // namespace
