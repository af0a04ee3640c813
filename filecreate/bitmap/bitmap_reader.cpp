#include "bitmap_reader.hpp"

#include <array>
#include <cstdio>
#include <unistd.h>

#include "byte_order.hpp"
#include "chunk_reader.hpp"
#include "diagnostics.hpp"
#include "file_access.hpp"
#include "glcd_writer.hpp"
#include "messages.hpp"
#include "run_flags.hpp"

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

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t HEADERS_END = 54;           // file header + 40-byte information header
constexpr std::uint32_t TWO_ENTRY_PALETTE = 8;      // bytes between the headers and the data
constexpr std::size_t PALETTE_ENTRY0_RED = 2;

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

// Width and height are read as 16-bit numbers; a 32-bit field beyond that
// (a huge picture, or a top-down bitmap's negative height) would be read as a
// different size and give a wrong array.
bool size_fits_16_bits(const InfoHeader& info)
{
    return load_le32(&info[4]) <= 0xFFFF && load_le32(&info[8]) <= 0xFFFF;
}

}  // namespace

int convert_bitmap(BitmapWork& work, const char* input_path, const char* output_path,
                   std::uint32_t flags, int input_fd, OutFile* shared_output)
{
    int in_fd = input_fd;
    if (input_path != nullptr) {
        in_fd = open_input(input_path);
    }
    if (in_fd < 0) {
        explain_not_opened("bitmap", input_path);
        std::printf("%s", MSG_MISSING);
        return EXIT_BITMAP_MISSING;
    }

    ChunkReader& in = work.in;
    reader_attach(in, in_fd);
    std::array<unsigned char, FILE_HEADER_SIZE> file_header{};
    bool whole = reader_take(in, file_header.data(), file_header.size());
    if (file_header[0] != 'B' || file_header[1] != 'M' || !whole) {
        return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
    }
    InfoHeader info{};
    if (!reader_take(in, info.data(), info.size())) {
        return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
    }
    if (info[16] != 0) {
        return refuse(in_fd, MSG_COMPRESSED, EXIT_BITMAP_COMPRESSED);
    }
    unsigned bits = info_bits_per_pixel(info);
    if ((bits != 1 && bits != 24) || !size_fits_16_bits(info)) {
        return refuse(in_fd, MSG_FORMAT, EXIT_BITMAP_FORMAT);
    }

    std::uint32_t data_offset = static_cast<std::uint32_t>(file_header[10] | (file_header[11] << 8));
    std::uint32_t image_size = load_le32(&info[20]);
    if (image_size == 0) {
        image_size = load_le32(&file_header[2]) - data_offset;
    }
    // Whatever lies between the headers and the pixel data: the rest of a
    // longer information header and the palette. Only a palette of exactly two
    // entries is looked at: a light entry 0 means set bits are dark pixels, so
    // the output is inverted to keep set bits standing for light ones.
    if (data_offset > HEADERS_END) {
        std::uint32_t gap = data_offset - HEADERS_END;
        std::array<unsigned char, TWO_ENTRY_PALETTE> palette{};
        bool read = gap == TWO_ENTRY_PALETTE ? reader_take(in, palette.data(), palette.size()) : reader_skip(in, gap);
        if (!read) {
            return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
        }
        if (gap == TWO_ENTRY_PALETTE && palette[PALETTE_ENTRY0_RED] != 0) {
            flags ^= OPT_INVERT;
        }
        work.palette_not_examined = bits == 1 && gap != TWO_ENTRY_PALETTE;
    }

    // Refuse a truncated file before anything is written, so that a -fb output
    // never holds half an array. Only a regular file can tell its length.
    PixelPlan plan = plan_pixels(image_size, info);
    std::int64_t remaining = reader_remaining(in);
    if (remaining < 0 || static_cast<std::uint64_t>(remaining) < plan.file_bytes) {
        return refuse(in_fd, MSG_NOT_BITMAP, EXIT_NOT_BITMAP);
    }
    if ((flags & OPT_REVERSE_ROWS) != 0 && glcd_array_bytes(info) > work.reversal.size()) {
        std::printf("Bitmap of %u x %u pixels too large for reversed rows (more than %zu bytes). Terminating\n\n",
                    static_cast<unsigned>(info_width(info)), static_cast<unsigned>(info_height(info)),
                    work.reversal.size());
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
    bool own = input_path != nullptr && output_path != nullptr;
    if (own) {
        // Creating the output truncates it: never when it is the bitmap itself.
        if (path_is_open_file(output_path, in_fd)) {
            std::printf("Output file %s is the same file as an input. Terminating\n\n", output_path);
            ::close(in_fd);
            return EXIT_BITMAP_OUTPUT_FAILED;
        }
        int out_fd = create_output(output_path);
        out = nullptr;
        if (out_fd >= 0) {
            out_attach(work.own_output, out_fd);
            out = &work.own_output;
        }
    }
    if (out == nullptr || out->fd < 0) {
        explain_not_created("output file", output_path);  // only -bm gets here
        return refuse(in_fd, MSG_OUTPUT_NOT_CREATED, EXIT_BITMAP_OUTPUT_FAILED);
    }
    if (!own && (flags & OPT_WRITE_BANNER) != 0) {
        out_put(*out, BITMAP_BANNER_PART_ONE);
        out_put(*out, output_path == nullptr ? std::string_view() : std::string_view(output_path));
        out_put(*out, BITMAP_BANNER_PART_TWO);
    }

    bool read_ok = write_glcd_array(in, *out, image_size, info, flags, work.array_name, work.reversal);
    ::close(in_fd);
    bool written = own ? out_close(*out) : true;
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
