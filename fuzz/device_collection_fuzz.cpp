// The device's collection reader on arbitrary bytes: the first byte chooses
// the layout (byte order, length width, alignment, header length), the rest
// is the image, in a buffer of exactly its size. Whatever the reader accepts
// must be what the host reader reads, file for file.
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/collection_layout.hpp"
#include "korvane/collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const unsigned bits = data[0];
    const korvane_layout layout = {0x20000u + (bits >> 5), (bits >> 3) & 3u, static_cast<std::uint8_t>(bits & 1),
                                   static_cast<std::uint8_t>((bits >> 1) & 1), static_cast<std::uint8_t>((bits >> 2) & 1)};
    const std::vector<unsigned char> image(data + 1, data + size);
    korvane_collection c;
    if (korvane_collection_open(&c, image.data(), static_cast<std::uint32_t>(image.size()), &layout) !=
        KORVANE_COLLECTION_OK) {
        return 0;
    }
    static std::array<CollectionRecord, 65536> records;
    const CollectionLayout host_layout = {layout.target_address + layout.header_len, layout.big_endian != 0,
                                          layout.four_byte_lengths != 0, layout.align != 0};
    const CollectionReading host = read_collection_image(image, host_layout, records);
    if (host.fault != CollectionFault::none || host.count != korvane_collection_count(&c)) {
        __builtin_trap();
    }
    for (std::uint32_t i = 0; i < host.count; ++i) {
        korvane_file f;
        korvane_file found;
        if (korvane_collection_file(&c, i, &f) != KORVANE_COLLECTION_OK || f.length != records[i].data.size() ||
            f.data != records[i].data.data() || records[i].entry.name != f.name ||
            korvane_collection_find(&c, f.name, &found) != KORVANE_COLLECTION_OK) {
            __builtin_trap();
        }
    }
    return 0;
}
