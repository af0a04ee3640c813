// Outputs of the real writers read back: random collections listed entry by
// entry, upload images verified and recovered byte for byte, GLCD arrays of
// random pictures drawn back to their pixels in every flag combination.
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "tests/bitmap/bitmap_builder.hpp"
#include "tests/inspect/inspect_session.hpp"

namespace {

std::string hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

TEST(InspectRoundTrip, CollectionsAreListedWithTheirEntries)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        ScratchDir dir;
        const Collection c = make_collection(dir, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        const RunResult r = inspect_installed({"image", "ctl.txt", "img.bin"}, dir.path);
        ASSERT_EQ(r.exit_code, 0) << r.out;
        EXPECT_NE(r.out.find(std::string(c.big_endian ? "big" : "little") + "-endian, " +
                             (c.four_byte_lengths ? "4" : "2") + "-byte lengths, " +
                             (c.align ? "aligned" : "unaligned") + "\n"),
                  std::string::npos);
        std::uint32_t address = c.base;
        for (const CollectionFile& f : c.files) {
            char line[64];
            std::snprintf(line, sizeof line, "  0x%08X %8zu  0x%02X ", address, f.data.size(), f.type);
            const std::size_t at = r.out.find(line);
            ASSERT_NE(at, std::string::npos) << line << "\n" << r.out;
            const std::string rest = r.out.substr(at, r.out.find('\n', at) - at);
            EXPECT_NE(rest.find("  0x" + hex(f.visibility, 2) + " "), std::string::npos) << rest;
            EXPECT_NE(rest.find("  " + f.stored + (f.squeeze ? " (squeezed)" : "")), std::string::npos) << rest;
            address += static_cast<std::uint32_t>(f.data.size());
        }
        EXPECT_NE(r.out.find("All " + std::to_string(c.files.size()) + " files equal"), std::string::npos);
    }
}

// Records of a build output: ascending, with gaps, or now and then a flat file.
std::string build_output(std::mt19937& random)
{
    std::string input;
    std::uint32_t address = random() & 0xFFFF00;
    for (unsigned n = 1 + random() % 3; n > 0; --n) {
        const std::string data = random_bytes(random() % 700, random());
        const auto length = static_cast<std::uint32_t>(data.size());
        for (std::uint32_t word : {address, length}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                input.push_back(static_cast<char>(word >> shift));
            }
        }
        input += data;
        address += length + random() % 300;
    }
    return random() % 5 == 0 ? random_bytes(random() % 900, random()) : input;
}

TEST(InspectRoundTrip, UploadImagesAreVerifiedAndRecovered)
{
    std::mt19937 random(15);
    for (int i = 0; i < 40; ++i) {
        ScratchDir dir;
        write_file(dir / "in.bin", build_output(random));
        const std::string convert = installed_program("KorvaneConvert");
        ASSERT_EQ(run_program(convert, {"in.bin", "plain.bin", "-b"}, dir.path).exit_code, 0);
        const std::string plain = read_file(dir / "plain.bin");
        std::vector<std::string> args = {"-m-" + hex(random() & 0xFFFF, 4), "-"};
        for (unsigned n = random() % 6; n > 0; --n) {
            args[1] += hex(random() & 0xFF, 2);
        }
        if (i % 4 != 0) {  // key bytes, then a seed and a rotation now and then
            args.push_back("-" + hex(random() & 0xFFFFFF, 6) + hex(random() & 0xFF, 2));
            if (i % 4 >= 2) {
                args.push_back("-" + hex(random() & 0xFFFF, 4));
            }
            if (i % 4 == 3) {
                args.push_back("-" + hex(static_cast<unsigned>(random() % (plain.size() + 1)), 4));
            }
        }
        std::vector<std::string> call = {"in.bin", "up.bin"};
        call.insert(call.end(), args.begin(), args.end());
        ASSERT_EQ(run_program(convert, call, dir.path).exit_code, 0);
        std::vector<std::string> check = {"upload", "up.bin"};
        check.insert(check.end(), args.begin(), args.end());
        check.insert(check.end(), {"--plain", "rec.bin"});
        const RunResult r = inspect_installed(check, dir.path);
        ASSERT_EQ(r.exit_code, 0) << r.out;
        EXPECT_EQ(read_file(dir / "rec.bin"), plain) << r.out;
    }
}

// The pixels as text lines: from '#' and '.', or from the block characters
// (two rows a line), after the line with the array's name and size.
Picture drawn(const std::string& out, unsigned width, unsigned height, bool ascii)
{
    Picture picture(height, std::vector<bool>(width));
    std::size_t at = out.find('\n') + 1;
    for (unsigned y = 0; y < height; y += ascii ? 1 : 2) {
        for (unsigned x = 0; x < width; ++x) {
            if (ascii) {
                picture[y][x] = out.at(at++) == '#';
                continue;
            }
            unsigned halves = out.at(at) == ' ' ? 0 : 3;
            if (halves != 0) {
                halves = out.at(at + 2) == '\x80' ? 2 : out.at(at + 2) == '\x84' ? 1 : 3;
                at += 2;
            }
            ++at;
            picture[y][x] = (halves & 2) != 0;
            if (y + 1 < height) {
                picture[y + 1][x] = (halves & 1) != 0;
            }
        }
        EXPECT_EQ(out.at(at++), '\n');
    }
    return picture;
}

// A binary PBM back to pixels: a 0 bit is white, a lit pixel.
Picture from_pbm(const std::string& pbm, unsigned width, unsigned height)
{
    const std::string head = "P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
    EXPECT_EQ(pbm.substr(0, head.size()), head);
    Picture picture(height, std::vector<bool>(width));
    const std::size_t row_bytes = (width + 7) / 8;
    EXPECT_EQ(pbm.size(), head.size() + row_bytes * height);
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            auto byte = static_cast<unsigned char>(pbm.at(head.size() + y * row_bytes + x / 8));
            picture[y][x] = ((byte >> (7 - x % 8)) & 1) == 0;
        }
    }
    return picture;
}

TEST(InspectRoundTrip, GlcdArraysAreDrawnBackToTheirPixels)
{
    const unsigned sizes[][2] = {{1, 1}, {3, 5}, {8, 8}, {17, 2}, {33, 9}, {70, 3}};
    unsigned seed = 5;
    for (unsigned bits : {1u, 24u}) {
        for (const auto& size : sizes) {
            const unsigned w = size[0];
            const unsigned h = size[1];
            const Picture picture = random_picture(w, h, seed++);
            ScratchDir dir;
            write_file(dir / "in.bmp", bitmap_of(picture, w, bits));
            for (const std::string mode : {"-bm", "-bmn", "-bmi", "-bmni"}) {
                SCOPED_TRACE(std::to_string(bits) + " bits " + std::to_string(w) + "x" + std::to_string(h) + mode);
                const bool invert = mode.find('n') != std::string::npos;
                const bool reverse = mode.find('i') != std::string::npos;
                Picture lit(h, std::vector<bool>(w));
                for (unsigned y = 0; y < h; ++y) {
                    for (unsigned x = 0; x < w; ++x) {
                        lit[y][x] = picture[reverse ? h - 1 - y : y][x] != invert;
                    }
                }
                RunResult r = run_program(installed_program("KorvaneFileCreate"), {mode, "in.bmp", "out.c"}, dir.path);
                ASSERT_EQ(r.exit_code, 0) << r.out;
                for (bool ascii : {false, true}) {
                    r = inspect_installed(ascii ? std::vector<std::string>{"glcd", "out.c", "--ascii"}
                                                : std::vector<std::string>{"glcd", "out.c"},
                                          dir.path);
                    ASSERT_EQ(r.exit_code, 0) << r.out;
                    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
                              "array: " + std::to_string(w) + " x " + std::to_string(h) + " pixels");
                    EXPECT_EQ(drawn(r.out, w, h, ascii), lit);
                }
                r = inspect_installed({"glcd", "out.c", "array", "--pbm", "."}, dir.path);
                ASSERT_EQ(r.exit_code, 0) << r.out;
                EXPECT_EQ(from_pbm(read_file(dir / "array.pbm"), w, h), lit);
            }
        }
    }
}

}  // namespace
