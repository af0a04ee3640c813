#include "filecreate/bitmap/bitmap_reader.hpp"

#include <array>
#include <cstdio>
#include <unistd.h>

#include "formats/bitmap_header.hpp"
#include "filecreate/diagnostics.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"
#include "formats/glcd_array.hpp"
#include "filecreate/bitmap/glcd_writer.hpp"
#include "filecreate/messages.hpp"
#include "control/run_flags.hpp"

// clang-format off
const std::string_view BITMAP_BANNER_PART_ONE =
    "/**********************************************************************\r\n"
    "   Author:       Korvane firmware tools group\r\n\n"
    "   Company:      Korvane Devices\r\n"
    "   Address:      Harbour Road 1, Port Korvane\r\n"
    "   Country:      Korvania\r\n\n"
    "   Web:          korvane.example  Contact: tools@korvane.example\r\n\n"
    "   ---------------------------------------------------------------------\r\n"
    "   File:         ";

const std::string_view BITMAP_BANNER_PART_TWO =
    " (created by KorvaneFileCreate V1.9)\r\n\n"
    "   Project:      Korvane GLCD firmware\r\n"
    "   ---------------------------------------------------------------------\r\n"
    "   Copyright (c) Korvane Devices. All rights reserved.\r\n"
    "   *********************************************************************\r\n\n"
    "This file is not linked directly in the project but is included by the GLCD task file\r\n\n"
    "*/ \n\n";
// clang-format on

namespace {

constexpr char MSG_MISSING[] = "Input bitmap file could not be found. Terminating\n\n";
constexpr char MSG_NOT_BITMAP[] = "Input file not bitmap format. Terminating\n\n";
constexpr char MSG_COMPRESSED[] = "Compressed bitmap not supported. Terminating\n\n";
constexpr char MSG_FORMAT[] = "bitmap color format not supported. Terminating\n\n";

int refuse(int in_fd, const char* message, int code)
{
    std::printf("%s", message);
    ::close(in_fd);
    return code;
}

// A failed header check: its message and exit code.
int refuse(int in_fd, BitmapCheck check)
{
    switch (check) {
    case BitmapCheck::compressed:
        return refuse(in_fd, MSG_COMPRESSED, EXIT_BITMAP_COMPRESSED);
    case BitmapCheck::unsupported_format:
        return refuse(in_fd, MSG_FORMAT, EXIT_BITMAP_FORMAT);
    case BitmapCheck::ok:
    case BitmapCheck::not_bitmap:
        break;
    }
    return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
}

// Reads the headers and whatever lies between them and the pixel data (the
// rest of a longer information header and the palette), leaving in at the
// first pixel byte. Short reads count as "not a bitmap".
BitmapCheck read_headers(ChunkReader& in, BitmapFileHeader& file, BitmapInfoHeader& info, std::uint32_t& flags)
{
    bool whole = reader_take(in, file.data(), file.size());
    BitmapCheck check = check_file_header(file);
    if (check != BitmapCheck::ok || !whole) {
        return BitmapCheck::not_bitmap;
    }
    if (!reader_take(in, info.data(), info.size())) {
        return BitmapCheck::not_bitmap;
    }
    check = check_info_header(info);
    if (check != BitmapCheck::ok) {
        return check;
    }
    std::uint32_t gap = bitmap_gap_size(file);
    if (gap == TWO_ENTRY_PALETTE_SIZE) {
        std::array<unsigned char, TWO_ENTRY_PALETTE_SIZE> palette{};
        if (!reader_take(in, palette.data(), palette.size())) {
            return BitmapCheck::not_bitmap;
        }
        if (palette_inverts(palette)) {
            flags ^= OPT_INVERT;
        }
    } else if (!reader_skip(in, gap)) {
        return BitmapCheck::not_bitmap;
    }
    return BitmapCheck::ok;
}

}  // namespace

int convert_bitmap(BitmapWork& work, const char* input_path, const char* output_path, std::uint32_t flags,
                   int input_fd, OutFile* shared_output)
{
    // A bitmap named on the command line always gives "array".
    std::string_view array_name = input_path != nullptr ? std::string_view() : work.array_name;
    int in_fd = input_path != nullptr ? open_input(input_path) : input_fd;
    if (in_fd < 0) {
        explain_not_opened("bitmap", input_path);
        std::printf("%s", MSG_MISSING);
        return EXIT_BITMAP_MISSING;
    }

    ChunkReader& in = work.in;
    reader_attach(in, in_fd);
    BitmapFileHeader file{};
    BitmapInfoHeader info{};
    BitmapCheck check = read_headers(in, file, info, flags);
    if (check != BitmapCheck::ok) {
        return refuse(in_fd, check);
    }
    std::uint32_t image_size = bitmap_image_size(file, info);
    // Only a two-entry palette right behind a 40-byte header is looked at; the
    // caller warns of a 1-bit bitmap whose palette is not.
    std::uint32_t gap = bitmap_gap_size(file);
    work.palette_not_examined = bitmap_bits_per_pixel(info) == 1 && gap != 0 && gap != TWO_ENTRY_PALETTE_SIZE;

    // Refuse a truncated file before anything is written, so that a -fb output
    // never holds half an array. Only a regular file can tell its length.
    PixelPlan plan = plan_pixels(image_size, info);
    std::int64_t remaining = reader_remaining(in);
    if (remaining < 0 || static_cast<std::uint64_t>(remaining) < plan.file_bytes) {
        return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
    }
    std::uint16_t width = bitmap_width(info);
    std::uint16_t height = bitmap_height(info);
    if ((flags & OPT_REVERSE_ROWS) != 0 && glcd_pixel_bytes(width, height) > work.reversal.size()) {
        std::printf("Bitmap of %u x %u pixels too large for reversed rows (more than %zu bytes). Terminating\n\n",
                    static_cast<unsigned>(width), static_cast<unsigned>(height), work.reversal.size());
        ::close(in_fd);
        return EXIT_CAPACITY;
    }
    if (input_path == nullptr && work.array_name_overflow_line != 0) {
        std::printf("Control file line %u: array name longer than 99 characters. Terminating\n\n",
                    work.array_name_overflow_line);
        ::close(in_fd);
        return EXIT_CAPACITY;
    }

    OutFile* out = shared_output;
    bool shared = (flags & OPT_SHARED_OUTPUT) != 0;
    if (!shared) {
        out = nullptr;
        // Creating the output truncates it: never when it is the bitmap itself.
        if (output_path != nullptr && path_is_open_file(output_path, in_fd)) {
            print_same_file_as_input(output_path);
            ::close(in_fd);
            return EXIT_BITMAP_OUTPUT_FAILED;
        }
        int out_fd = stage_output(output_path);
        if (out_fd >= 0) {
            out_attach(work.own_output, out_fd);
            out = &work.own_output;
        }
    }
    if (out == nullptr && output_refused_as_strict()) {
        return refuse(in_fd, MSG_STRICT_WARNING, EXIT_STRICT_WARNING);
    }
    if (out == nullptr || out->fd < 0) {
        explain_not_created("output file", output_path);  // only -bm gets here
        return refuse(in_fd, MSG_OUTPUT_NOT_CREATED, EXIT_BITMAP_OUTPUT_FAILED);
    }
    // The banner only ever heads the caller's common output.
    if (shared && (flags & OPT_WRITE_BANNER) != 0) {
        out_put(*out, BITMAP_BANNER_PART_ONE);
        out_put(*out, output_path == nullptr ? std::string_view() : std::string_view(output_path));
        out_put(*out, BITMAP_BANNER_PART_TWO);
    }

    bool read_ok = write_glcd_array(in, *out, image_size, info, flags, array_name, work.reversal);
    ::close(in_fd);
    bool written = shared ? true : out_close(*out);
    if (!read_ok) {
        std::printf("%s", MSG_NOT_BITMAP);
        return EXIT_NOT_BITMAP;
    }
    if (!written) {
        std::printf("%s", MSG_WRITE_FAILED);
        return EXIT_BITMAP_OUTPUT_FAILED;
    }
    return EXIT_OK;
}
