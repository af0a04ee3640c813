#include "tests/bitmap/bitmap_builder.hpp"

#include <cstdio>
#include <random>

std::string pack_fields(std::initializer_list<Field> fields)
{
    std::string bytes;
    for (const Field& field : fields) {
        for (int i = 0; i < field.width; ++i) {
            bytes.push_back(static_cast<char>((field.value >> (8 * i)) & 0xFF));
        }
    }
    return bytes;
}

Picture random_picture(unsigned width, unsigned height, unsigned seed)
{
    std::mt19937 random(seed);
    Picture picture(height, std::vector<bool>(width));
    for (auto& row : picture) {
        for (unsigned x = 0; x < width; ++x) {
            row[x] = (random() & 1) != 0;
        }
    }
    return picture;
}

std::string encode_pixels(const Picture& picture, unsigned width, unsigned bits_per_pixel)
{
    std::string data;
    for (const auto& row : picture) {
        std::string bytes;
        if (bits_per_pixel == 1) {
            bytes.assign((width + 7) / 8, '\0');
            for (unsigned x = 0; x < width; ++x) {
                if (row[x]) {
                    bytes[x / 8] = static_cast<char>(bytes[x / 8] | (0x80 >> (x % 8)));
                }
            }
        } else {
            for (unsigned x = 0; x < width; ++x) {
                bytes.append(3, row[x] ? '\xFF' : '\0');
            }
        }
        // Padding of junk, not zeros: the converter must never show it.
        while (bytes.size() % 4 != 0) {
            bytes.push_back('\x5C');
        }
        data += bytes;
    }
    return data;
}

std::string two_entry_palette(bool entry0_white)
{
    std::string black("\0\0\0\0", 4);
    std::string white("\xFF\xFF\xFF\0", 4);
    return entry0_white ? white + black : black + white;
}

std::string build_bitmap(const BitmapFile& f)
{
    std::uint32_t offset = static_cast<std::uint32_t>(14 + f.header_size + f.palette.size());
    std::uint32_t total = offset + static_cast<std::uint32_t>(f.pixels.size());
    std::uint32_t image_size =
        f.image_size < 0 ? static_cast<std::uint32_t>(f.pixels.size()) : static_cast<std::uint32_t>(f.image_size);
    std::string bytes = "BM";
    bytes += pack_fields({{4, f.file_size < 0 ? total : static_cast<std::uint32_t>(f.file_size)},
                          {4, 0},
                          {4, offset},
                          {4, f.header_size},
                          {4, f.width},
                          {4, f.height},
                          {2, 1},
                          {2, f.bits_per_pixel},
                          {4, f.compression},
                          {4, image_size},
                          {4, 2835},
                          {4, 2835},
                          {4, f.bits_per_pixel == 1 ? 2u : 0u},
                          {4, 0}});
    bytes.append(f.header_size - 40, '\0');
    return bytes + f.palette + f.pixels;
}

std::string bitmap_of(const Picture& picture, unsigned width, unsigned bits_per_pixel)
{
    BitmapFile f;
    f.width = width;
    f.height = static_cast<std::uint32_t>(picture.size());
    f.bits_per_pixel = bits_per_pixel;
    f.palette = bits_per_pixel == 1 ? two_entry_palette(false) : "";
    f.pixels = encode_pixels(picture, width, bits_per_pixel);
    return build_bitmap(f);
}

std::string expected_array(const Picture& picture, unsigned width, unsigned bits_per_pixel,
                           const ArrayOptions& options)
{
    auto value_text = [](unsigned value) {
        char text[8];
        std::snprintf(text, sizeof text, "0x%02X,", value & 0xFF);
        return std::string(text);
    };
    unsigned height = static_cast<unsigned>(picture.size());
    std::string out = "static const unsigned char " + (options.name.empty() ? "array" : options.name) + "[] = {\r\n";
    out += value_text(0) + value_text(width >> 8) + value_text(width) + value_text(height >> 8) + value_text(height) +
           "\r\n";

    // Each row's bytes, and for a direct 1-bit array the unit each byte came from.
    std::vector<std::vector<unsigned>> rows;
    for (const auto& row : picture) {
        std::vector<unsigned> bytes((width + 7) / 8, 0);
        for (unsigned x = 0; x < width; ++x) {
            if (row[x]) {
                bytes[x / 8] |= 0x80u >> (x % 8);
            }
        }
        for (unsigned& b : bytes) {
            b = options.invert ? (~b & 0xFF) : b;
        }
        rows.push_back(bytes);
    }
    unsigned count = 0;
    if (options.reverse) {
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            for (unsigned b : *row) {
                out += value_text(b);
                if (++count == 60) {
                    out += "\r\n";
                    count = 0;
                }
            }
        }
    } else if (bits_per_pixel == 1) {
        for (const auto& row : rows) {
            for (std::size_t unit = 0; unit * 4 < row.size(); ++unit) {
                for (std::size_t i = unit * 4; i < row.size() && i < unit * 4 + 4; ++i) {
                    out += value_text(row[i]);
                }
                if (++count == 30) {
                    out += "\r\n";
                    count = 0;
                }
            }
        }
    } else {
        for (const auto& row : rows) {
            for (unsigned b : row) {
                out += value_text(b);
                if (++count == 30) {
                    out += "\r\n";
                    count = 0;
                }
            }
        }
    }
    return out + "};\r\n\n";
}
