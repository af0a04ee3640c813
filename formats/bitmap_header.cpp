#include "formats/bitmap_header.hpp"

#include "formats/byte_order.hpp"

namespace {

constexpr std::size_t PALETTE_ENTRY0_RED = 2;

}  // namespace

BitmapCheck check_file_header(const BitmapFileHeader& file)
{
    using namespace bitmap_file_header;
    if (file[SIGNATURE] != 'B' || file[SIGNATURE + 1] != 'M') {
        return BitmapCheck::not_bitmap;
    }
    return BitmapCheck::ok;
}

BitmapCheck check_info_header(const BitmapInfoHeader& info)
{
    using namespace bitmap_info_header;
    if (info[COMPRESSION] != 0) {
        return BitmapCheck::compressed;
    }
    unsigned bits = bitmap_bits_per_pixel(info);
    if (bits != 1 && bits != 24) {
        return BitmapCheck::unsupported_format;
    }
    // Width and height are used as 16-bit numbers; set upper bits (a huge
    // picture, or a top-down bitmap's negative height) would be read as a
    // different size and give a wrong array.
    if (load_le32(&info[WIDTH]) > 0xFFFF || load_le32(&info[HEIGHT]) > 0xFFFF) {
        return BitmapCheck::unsupported_format;
    }
    return BitmapCheck::ok;
}

std::uint16_t bitmap_width(const BitmapInfoHeader& info)
{
    return load_le16(&info[bitmap_info_header::WIDTH]);
}

std::uint16_t bitmap_height(const BitmapInfoHeader& info)
{
    return load_le16(&info[bitmap_info_header::HEIGHT]);
}

unsigned bitmap_bits_per_pixel(const BitmapInfoHeader& info)
{
    return info[bitmap_info_header::BITS_PER_PIXEL];
}

std::uint32_t bitmap_data_offset(const BitmapFileHeader& file)
{
    return load_le16(&file[bitmap_file_header::DATA_OFFSET]);
}

std::uint32_t bitmap_gap_size(const BitmapFileHeader& file)
{
    std::uint32_t offset = bitmap_data_offset(file);
    return offset > BITMAP_HEADERS_END ? offset - BITMAP_HEADERS_END : 0;
}

std::uint32_t bitmap_image_size(const BitmapFileHeader& file, const BitmapInfoHeader& info)
{
    std::uint32_t size = load_le32(&info[bitmap_info_header::IMAGE_SIZE]);
    if (size == 0) {
        size = load_le32(&file[bitmap_file_header::FILE_SIZE]) - bitmap_data_offset(file);
    }
    return size;
}

bool palette_inverts(std::span<const unsigned char> gap)
{
    return gap.size() == TWO_ENTRY_PALETTE_SIZE && gap[PALETTE_ENTRY0_RED] != 0;
}
