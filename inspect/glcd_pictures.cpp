#include "inspect/glcd_pictures.hpp"

#include <array>
#include <cstring>
#include <string_view>

namespace {

// Indexed by (top lit) * 2 + (bottom lit).
constexpr std::array<std::string_view, 4> BLOCKS = {" ", "\u2584", "\u2580", "\u2588"};

// Appends text at used; the line was sized for the widest character.
void put(std::span<char> line, std::size_t& used, std::string_view text)
{
    std::memcpy(line.data() + used, text.data(), text.size());
    used += text.size();
}

}  // namespace

void draw_glcd_picture(const GlcdArray& array, bool ascii, std::span<char> line, std::FILE* out)
{
    const unsigned rows_per_line = ascii ? 1 : 2;
    for (unsigned y = 0; y < array.height; y += rows_per_line) {
        std::size_t used = 0;
        for (unsigned x = 0; x < array.width; ++x) {
            const bool top = glcd_pixel(array, x, y);
            if (ascii) {
                line[used++] = top ? '#' : '.';
            } else {
                // An odd last row has no row below it: its lower halves stay dark.
                const bool bottom = glcd_pixel(array, x, y + 1);
                put(line, used, BLOCKS[(top ? 2u : 0u) + (bottom ? 1u : 0u)]);
            }
        }
        line[used++] = '\n';
        std::fwrite(line.data(), 1, used, out);
    }
}

void write_glcd_pbm(const GlcdArray& array, OutFile& out)
{
    std::array<char, 32> head{};
    const int length = std::snprintf(head.data(), head.size(), "P4\n%u %u\n", static_cast<unsigned>(array.width),
                                     static_cast<unsigned>(array.height));
    out_put(out, head.data(), static_cast<std::size_t>(length));
    const std::size_t row_bytes = glcd_row_bytes(array.width);
    const unsigned spare = (8 - array.width % 8) % 8;  // bits past the width in a row's last byte
    const auto last_mask = static_cast<unsigned char>(0xFF << spare);
    std::array<unsigned char, 8192> row{};  // the widest row: 65,535 pixels
    if (array.rows.size() < glcd_pixel_bytes(array.width, array.height)) {
        return;  // not a decoded array: its rows are not all there
    }
    for (std::size_t y = 0; y < array.height; ++y) {
        for (std::size_t k = 0; k < row_bytes; ++k) {
            row[k] = static_cast<unsigned char>(~array.rows[y * row_bytes + k]);
        }
        if (row_bytes > 0) {
            row[row_bytes - 1] &= last_mask;
        }
        out_put(out, row.data(), row_bytes);
    }
}
