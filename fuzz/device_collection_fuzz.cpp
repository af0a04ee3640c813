// The device's collection reader on arbitrary bytes: the first byte chooses
// the layout (byte order, length width, alignment, header length), the rest
// is the image, in a buffer of exactly its size. Whatever the reader accepts
// must be what the host reader reads, file for file, once the bytes the
// reader leaves to the host are put right: the padding and the end-of-list
// bytes zero, bit 7 of every visibility byte set; and with
// korvane_collection_check the device refuses exactly what the host refuses.
#include <algorithm>
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
    const korvane_collection_fault opened =
        korvane_collection_open(&c, image.data(), static_cast<std::uint32_t>(image.size()), &layout);
    const korvane_collection_fault checked = korvane_collection_check(&c);  // after a failed open too
    if (opened != KORVANE_COLLECTION_OK) {
        return 0;
    }
    std::vector<unsigned char> fixed = image;
    std::size_t at = 0;  // the end of the names: where the table padding starts
    korvane_file f;
    if (c.count != 0 && korvane_collection_file(&c, c.count - 1, &f) == KORVANE_COLLECTION_OK) {
        at = static_cast<std::size_t>(f.name - reinterpret_cast<const char*>(image.data())) + std::strlen(f.name) + 1;
    }
    std::fill(fixed.begin() + static_cast<std::ptrdiff_t>(at), fixed.begin() + c.table, 0);
    for (std::uint32_t i = 0; i < c.count; ++i) {
        const std::size_t visibility = c.table + i * c.record_size + 9u + c.lengths;
        fixed[visibility] |= 0x80;
        std::fill(fixed.begin() + static_cast<std::ptrdiff_t>(visibility) + 1,
                  fixed.begin() + c.table + (i + 1) * c.record_size, 0);
    }
    std::fill(fixed.end() - 20, fixed.end() - 4, 0);
    static std::array<CollectionRecord, 65536> records;
    const CollectionLayout host_layout = {layout.target_address + layout.header_len, layout.big_endian != 0,
                                          layout.four_byte_lengths != 0, layout.align != 0};
    const CollectionReading as_is = read_collection_image(image, host_layout, records);
    if (as_is.fault != CollectionFault::too_many_files &&
        (checked == KORVANE_COLLECTION_OK) != (as_is.fault == CollectionFault::none)) {
        __builtin_trap();
    }
    const CollectionReading host = read_collection_image(fixed, host_layout, records);
    if (host.fault != CollectionFault::none || host.count != korvane_collection_count(&c)) {
        __builtin_trap();
    }
    for (std::uint32_t i = 0; i < host.count; ++i) {
        korvane_file found;
        if (korvane_collection_file(&c, i, &f) != KORVANE_COLLECTION_OK || f.length != records[i].data.size() ||
            f.data - image.data() != records[i].data.data() - fixed.data() || records[i].entry.name != f.name ||
            korvane_collection_find(&c, f.name, &found) != KORVANE_COLLECTION_OK) {
            __builtin_trap();
        }
    }
    return 0;
}
