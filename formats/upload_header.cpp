#include "formats/upload_header.hpp"

#include "formats/byte_order.hpp"
#include "formats/crc16.hpp"

std::size_t pack_upload_header(const UploadHeader& header, unsigned char* out)
{
    store_be32(out, header.image_length);
    store_be16(out + 4, header.magic);
    store_be16(out + 6, header.image_crc);
    if (header.keyed) {
        store_be16(out + 8, header.plain_crc);
    }
    return upload_header_size(header);
}

bool unpack_upload_header(std::span<const unsigned char> file, UploadHeader& header)
{
    if (file.size() < UPLOAD_HEADER_SIZE) {
        return false;
    }
    const std::uint64_t length = load_be32(file.data());
    if (file.size() == UPLOAD_HEADER_SIZE + length) {
        header.keyed = false;
        header.plain_crc = 0;
    } else if (file.size() == UPLOAD_HEADER_KEYED_SIZE + length) {
        header.keyed = true;
        header.plain_crc = load_be16(file.data() + 8);
    } else {
        return false;
    }
    header.image_length = static_cast<std::uint32_t>(length);
    header.magic = load_be16(file.data() + 4);
    header.image_crc = load_be16(file.data() + 6);
    return true;
}

std::uint16_t upload_crc(std::span<const unsigned char> first, std::span<const unsigned char> second,
                         std::span<const unsigned char> suffix)
{
    std::uint16_t crc = crc16_update(0, first.data(), static_cast<std::uint32_t>(first.size()));
    crc = crc16_update(crc, second.data(), static_cast<std::uint32_t>(second.size()));
    return crc16_update(crc, suffix.data(), static_cast<std::uint32_t>(suffix.size()));
}
