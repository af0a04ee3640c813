#include "record_flattening.hpp"

#include <cstring>

#include "byte_order.hpp"

bool flatten_records_into(const unsigned char* buffer, std::uint32_t length, unsigned char* work_area,
                          std::uint32_t& result)
{
    std::uint64_t image_length = 0;  // 64 bits: sums below cannot wrap
    std::uint32_t end_address = 0;
    bool first = true;
    std::uint32_t pos = 0;
    while (pos < length) {
        if (length - pos < 8) {
            return false;  // a tail too short for a record: not a record sequence
        }
        const std::uint32_t address = load_be32(buffer + pos);
        const std::uint32_t record_length = load_be32(buffer + pos + 4);
        pos += 8;
        if (!first && address != end_address) {
            if (address > end_address) {
                const std::uint32_t gap = address - end_address;
                if (image_length + gap >= IMAGE_LIMIT) {
                    return false;
                }
                std::memset(work_area + image_length, 0xFF, gap);
                image_length += gap;
            } else if (record_length == 0) {
                continue;  // an empty record behind the end changes nothing
            } else {
                return false;  // overlapping or descending records
            }
        }
        end_address = address;
        if (image_length + record_length >= IMAGE_LIMIT || record_length > length - pos) {
            return false;
        }
        std::memcpy(work_area + image_length, buffer + pos, record_length);
        image_length += record_length;
        end_address += record_length;
        pos += record_length;
        first = false;
    }
    result = static_cast<std::uint32_t>(image_length);
    return true;
}

std::uint32_t flatten_records(unsigned char* buffer, std::uint32_t length, unsigned char* work_area)
{
    std::uint32_t image_length = 0;
    if (!flatten_records_into(buffer, length, work_area, image_length)) {
        return length;
    }
    std::memcpy(buffer, work_area, image_length);
    return image_length;
}
