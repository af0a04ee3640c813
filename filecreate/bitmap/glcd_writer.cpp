#include "glcd_writer.hpp"

#include <span>
#include <string_view>

#include "glcd_array.hpp"
#include "run_flags.hpp"
#include "value_text.hpp"

namespace {

constexpr const ValueTexts& VALUE_TEXTS = VALUE_TEXTS_UPPER;

void put_value(OutFile& out, unsigned char value)
{
    out_put(out, VALUE_TEXTS[value].data(), VALUE_TEXT_SIZE);
}

// Where finished bytes go: straight to the output with the line counter, or
// into the reversal buffer until every row is known.
struct ByteSink {
    OutFile* out;
    bool invert;
    bool reverse;
    std::span<unsigned char> reversal;
    std::size_t stored = 0;     // R: bytes in the reversal buffer
    unsigned line_count = 0;
};

// Finishing a byte: inversion covers the unused low bits at a row end too.
void finish_byte(ByteSink& sink, unsigned char value)
{
    if (sink.invert) {
        value = static_cast<unsigned char>(~value);
    }
    if (sink.reverse) {
        // The caller refuses arrays larger than the buffer; never write past it.
        if (sink.stored < sink.reversal.size()) {
            sink.reversal[sink.stored++] = value;
        }
    } else {
        put_value(*sink.out, value);
    }
}

void count_line(ByteSink& sink, unsigned per_line)
{
    if (sink.reverse) {
        return;
    }
    if (++sink.line_count == per_line) {
        out_put(*sink.out, GLCD_LINE_END);
        sink.line_count = 0;
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
// file bytes with the bits past the width cleared.
bool write_packed(ChunkReader& in, ByteSink& sink, std::uint32_t image_size, const Geometry& g)
{
    std::uint64_t units = image_size / 4;
    std::uint64_t all_rows = std::uint64_t{g.units_per_row} * g.height;
    if (units > all_rows) {
        units = all_rows;
    }
    std::uint32_t pixels_to_come = g.width;
    std::array<unsigned char, 4> unit{};
    for (std::uint64_t n = 0; n < units; ++n) {
        if (!reader_take(in, unit.data(), unit.size())) {
            return false;
        }
        std::uint32_t pixels = pixels_to_come < 32 ? pixels_to_come : 32;
        std::uint32_t whole = pixels / 8;
        for (std::uint32_t i = 0; i < whole; ++i) {
            finish_byte(sink, unit[i]);
        }
        if (pixels % 8 != 0) {
            finish_byte(sink, static_cast<unsigned char>(unit[whole] & (0xFF00u >> (pixels % 8))));
        }
        pixels_to_come -= pixels;
        if (pixels_to_come == 0) {
            pixels_to_come = g.width;
        }
        count_line(sink, GLCD_DIRECT_UNITS_PER_LINE);
    }
    return true;
}

// 24 bits per pixel: a pixel is set when its blue byte is non-zero.
bool write_per_pixel(ChunkReader& in, ByteSink& sink, std::uint32_t image_size, const Geometry& g)
{
    std::uint32_t left = image_size;
    std::array<unsigned char, 3> pixel{};
    for (std::uint32_t row = 0; row < g.height && left >= 3; ++row) {
        unsigned char value = 0;
        unsigned mask = 0x80;
        for (std::uint32_t x = 0; x < g.width; ++x) {
            if (left < 3) {
                return true;  // the image size ends inside the row: its open byte is dropped
            }
            if (!reader_take(in, pixel.data(), pixel.size())) {
                return false;
            }
            left -= 3;
            if (pixel[0] != 0) {
                value = static_cast<unsigned char>(value | mask);
            }
            mask >>= 1;
            bool row_done = x + 1 == g.width;
            if (row_done || mask == 0) {
                finish_byte(sink, value);
                count_line(sink, GLCD_DIRECT_VALUES_PER_LINE);
                if (mask != 0) {
                    std::uint32_t skip = g.padding < left ? g.padding : left;
                    left -= skip;
                    // The padding after the last row is never needed.
                    if (row + 1 < g.height && !reader_skip(in, skip)) {
                        return false;
                    }
                }
                value = 0;
                mask = 0x80;
            }
        }
    }
    return true;
}

// Reversed output: the last stored row first, each row left to right, 60
// values a line. A short image size can leave an incomplete last row; it was
// stored last, so it comes out first.
void write_reversed(OutFile& out, std::span<const unsigned char> stored, std::uint32_t row_bytes)
{
    if (row_bytes == 0) {
        return;
    }
    unsigned line_count = 0;
    auto emit = [&](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            put_value(out, stored[i]);
            if (++line_count == GLCD_REVERSED_VALUES_PER_LINE) {
                out_put(out, GLCD_LINE_END);
                line_count = 0;
            }
        }
    };
    std::size_t rows = stored.size() / row_bytes;
    emit(rows * row_bytes, stored.size() % row_bytes);
    while (rows > 0) {
        --rows;
        emit(rows * row_bytes, row_bytes);
    }
}

void write_header_line(OutFile& out, std::string_view name)
{
    if (name.empty()) {
        out_put(out, GLCD_UNNAMED_HEAD);
        return;
    }
    out_put(out, GLCD_NAMED_HEAD_START);
    out_put(out, name);
    out_put(out, GLCD_NAMED_HEAD_END);
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
    write_header_line(out, array_name);
    std::uint16_t width = bitmap_width(info);
    std::uint16_t height = bitmap_height(info);
    for (unsigned char value : glcd_preamble(width, height)) {
        put_value(out, value);
    }
    out_put(out, GLCD_LINE_END);

    ByteSink sink{&out, (flags & OPT_INVERT) != 0, (flags & OPT_REVERSE_ROWS) != 0, reversal};
    bool read_ok = true;
    if (width != 0 && height != 0) {
        Geometry g = geometry_of(image_size, info);
        read_ok = bitmap_bits_per_pixel(info) == 1 ? write_packed(in, sink, image_size, g)
                                                 : write_per_pixel(in, sink, image_size, g);
    }
    if (sink.reverse) {
        write_reversed(out, sink.reversal.first(sink.stored), glcd_row_bytes(width));
    }
    out_put(out, GLCD_ARRAY_END);
    return read_ok;
}
