#include "filecreate/bitmap/glcd_writer.hpp"

#include <array>
#include <cstring>
#include <span>
#include <string_view>

#include "formats/glcd_array.hpp"
#include "filecreate/bitmap/glcd_lines.hpp"
#include "filecreate/bitmap/pixel_pack.hpp"
#include "control/run_flags.hpp"

namespace {

constexpr std::size_t MAX_ROW_BYTES = glcd_row_bytes(0xFFFF);
// 24-bit rows are read in place a piece at a time, as a row can be longer
// than the reader's chunk; a multiple of 8 pixels, so pieces end on a byte.
constexpr std::uint32_t PIECE_PIXELS = 4096;

// Where finished rows go: straight out as text, or into the reversal buffer
// until every row is known.
struct RowSink {
    LineText line;
    bool invert;
    bool reverse;
    std::span<unsigned char> reversal;
    std::size_t stored = 0;  // R: bytes in the reversal buffer
    std::array<unsigned char, MAX_ROW_BYTES> row{};
};

// Finishing a row's bytes: inversion covers the unused low bits at a row
// end too.
void finish_row(RowSink& sink, std::size_t count)
{
    if (sink.invert) {
        for (std::size_t i = 0; i < count; ++i) {
            sink.row[i] = static_cast<unsigned char>(~sink.row[i]);
        }
    }
    if (sink.reverse) {
        // The caller refuses arrays larger than the buffer; never write past it.
        std::size_t room = sink.reversal.size() - sink.stored;
        count = count < room ? count : room;
        std::memcpy(sink.reversal.data() + sink.stored, sink.row.data(), count);
        sink.stored += count;
    } else {
        put_values(sink.line, sink.row.data(), count);
    }
}

struct Geometry {
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t units_per_row;    // 1 bit per pixel: 4-byte units of a row
    std::uint32_t padding;          // 24 bits per pixel: bytes skipped after a row that ends inside a byte
};

Geometry geometry_of(std::uint32_t image_size, const BitmapInfoHeader& info)
{
    Geometry g{bitmap_width(info), bitmap_height(info), 0, 0};
    g.units_per_row = (g.width + 31) / 32;
    std::uint64_t pixel_bytes = std::uint64_t{g.width} * g.height * 3;
    // The padding is derived from the image size; without rows there is
    // nothing to divide it among.
    if (g.height != 0 && image_size > pixel_bytes) {
        g.padding = static_cast<std::uint32_t>((image_size - pixel_bytes) / g.height);
    }
    return g;
}

// 1 bit per pixel. Every row is a run of 4-byte units; each unit holds up to
// 32 pixels starting on a byte boundary, so a row's output is its first B
// file bytes with the bits past the width cleared. An image size that ends
// inside a row gives that row's whole units.
bool write_packed(ChunkReader& in, RowSink& sink, std::uint32_t image_size, const Geometry& g)
{
    std::uint64_t units = image_size / GLCD_UNIT_BYTES;
    std::uint64_t all_rows = std::uint64_t{g.units_per_row} * g.height;
    units = units < all_rows ? units : all_rows;
    std::uint32_t row_bytes = glcd_row_bytes(g.width);
    while (units > 0) {
        std::uint32_t wanted = units < g.units_per_row ? static_cast<std::uint32_t>(units) : g.units_per_row;
        std::span<const unsigned char> bytes = reader_borrow(in, std::size_t{wanted} * GLCD_UNIT_BYTES);
        std::size_t got = bytes.size() / GLCD_UNIT_BYTES;
        std::size_t count = got == g.units_per_row ? row_bytes : got * GLCD_UNIT_BYTES;
        std::memcpy(sink.row.data(), bytes.data(), count);
        if (got == g.units_per_row && g.width % 8 != 0) {
            sink.row[count - 1] = static_cast<unsigned char>(sink.row[count - 1] & (0xFF00u >> (g.width % 8)));
        }
        finish_row(sink, count);
        if (got < wanted) {
            return false;
        }
        units -= wanted;
    }
    return true;
}

// 24 bits per pixel. After a row that ends inside a byte its padding is
// skipped; an image size that ends inside a row drops that row's open byte.
bool write_per_pixel(ChunkReader& in, RowSink& sink, std::uint32_t image_size, const Geometry& g)
{
    std::uint32_t left = image_size;
    std::uint32_t padding = g.width % 8 != 0 ? g.padding : 0;
    std::uint32_t row_bytes = glcd_row_bytes(g.width);
    for (std::uint32_t row = 0; row < g.height && left >= 3; ++row) {
        std::uint32_t pixels = left / 3 < g.width ? left / 3 : g.width;
        bool read_all = true;
        for (std::uint32_t x = 0; x < pixels && read_all;) {
            std::uint32_t wanted = pixels - x < PIECE_PIXELS ? pixels - x : PIECE_PIXELS;
            std::span<const unsigned char> bytes = reader_borrow(in, std::size_t{wanted} * 3);
            auto got = static_cast<std::uint32_t>(bytes.size() / 3);
            pack_blue_pixels(bytes.data(), got, sink.row.data() + x / 8);
            x += got;
            if (got < wanted) {
                read_all = false;
                pixels = x;
            }
        }
        left -= pixels * 3;
        finish_row(sink, pixels == g.width ? row_bytes : pixels / 8);
        if (!read_all) {
            return false;
        }
        if (pixels == g.width) {
            std::uint32_t skip = padding < left ? padding : left;
            left -= skip;
            // The padding after the last row is never needed.
            if (row + 1 < g.height && !reader_skip(in, skip)) {
                return false;
            }
        }
    }
    return true;
}

// Reversed output: the last stored row first, each row left to right. A
// short image size can leave an incomplete last row; it was stored last, so
// it comes out first.
void write_reversed(LineText& line, std::span<const unsigned char> stored, std::uint32_t row_bytes)
{
    if (row_bytes == 0) {
        return;
    }
    std::size_t rows = stored.size() / row_bytes;
    put_values(line, stored.data() + rows * row_bytes, stored.size() % row_bytes);
    while (rows > 0) {
        --rows;
        put_values(line, stored.data() + rows * row_bytes, row_bytes);
    }
}

void add_header_line(LineText& line, std::string_view name)
{
    if (name.empty()) {
        add_text(line, GLCD_UNNAMED_HEAD);
        return;
    }
    add_text(line, GLCD_NAMED_HEAD_START);
    add_text(line, name);
    add_text(line, GLCD_NAMED_HEAD_END);
}

}  // namespace

PixelPlan plan_pixels(std::uint32_t image_size, const BitmapInfoHeader& info)
{
    Geometry g = geometry_of(image_size, info);
    PixelPlan plan;
    if (g.width == 0 || g.height == 0) {
        return plan;
    }
    std::uint32_t row_values = (g.width + 7) / 8;
    if (bitmap_bits_per_pixel(info) == 1) {
        std::uint64_t units = image_size / 4;
        std::uint64_t all_rows = std::uint64_t{g.units_per_row} * g.height;
        if (units > all_rows) {
            units = all_rows;
        }
        std::uint64_t rows = units / g.units_per_row;
        std::uint64_t rest_units = units % g.units_per_row;
        std::uint64_t rest_pixels = rest_units * 32;
        plan.file_bytes = units * 4;
        plan.values = rows * row_values + (rest_pixels + 7) / 8;
        return plan;
    }
    std::uint64_t left = image_size;
    std::uint64_t skip_at_row_end = g.width % 8 != 0 ? g.padding : 0;
    for (std::uint32_t row = 0; row < g.height && left >= 3; ++row) {
        std::uint64_t pixels = left / 3 < g.width ? left / 3 : g.width;
        left -= pixels * 3;
        plan.file_bytes += pixels * 3;
        if (pixels < g.width) {
            plan.values += pixels / 8;
            break;
        }
        plan.values += row_values;
        std::uint64_t skip = skip_at_row_end < left ? skip_at_row_end : left;
        left -= skip;
        if (row + 1 < g.height) {
            plan.file_bytes += skip;
        }
    }
    return plan;
}

bool write_glcd_array(ChunkReader& in, OutFile& out, std::uint32_t image_size, const BitmapInfoHeader& info,
                      std::uint32_t flags, std::string_view array_name, std::span<unsigned char> reversal)
{
    std::uint16_t width = bitmap_width(info);
    std::uint16_t height = bitmap_height(info);
    bool one_bit = bitmap_bits_per_pixel(info) == 1;
    bool reverse = (flags & OPT_REVERSE_ROWS) != 0;
    unsigned per_line = reverse ? GLCD_REVERSED_VALUES_PER_LINE
                                : one_bit ? GLCD_DIRECT_UNITS_PER_LINE : GLCD_DIRECT_VALUES_PER_LINE;
    unsigned step = one_bit && !reverse ? GLCD_UNIT_BYTES : 1;
    RowSink sink{LineText{out, per_line, step}, (flags & OPT_INVERT) != 0, reverse, reversal};
    add_header_line(sink.line, array_name);

    std::array<unsigned char, GLCD_PREAMBLE_SIZE> preamble = glcd_preamble(width, height);
    add_values(sink.line, preamble.data(), preamble.size());
    end_line(sink.line);

    bool read_ok = true;
    if (width != 0 && height != 0) {
        Geometry g = geometry_of(image_size, info);
        read_ok = one_bit ? write_packed(in, sink, image_size, g) : write_per_pixel(in, sink, image_size, g);
    }
    if (reverse) {
        write_reversed(sink.line, reversal.first(sink.stored), glcd_row_bytes(width));
    }
    add_text(sink.line, GLCD_ARRAY_END);
    hand_over(sink.line);
    return read_ok;
}
