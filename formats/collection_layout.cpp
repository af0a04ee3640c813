#include "formats/collection_layout.hpp"

#include <algorithm>
#include <cstring>

#include "formats/byte_order.hpp"

namespace {

constexpr std::size_t END_OF_LIST_SIZE = 16;
constexpr std::size_t LOCATION_SIZE = 4;
constexpr std::size_t TRAILER_SIZE = END_OF_LIST_SIZE + LOCATION_SIZE;
constexpr std::size_t ADDRESSES_SIZE = 8;  // name address and data address
constexpr unsigned char VISIBILITY_MARK = 0x80;

std::size_t length_field_size(const CollectionLayout& layout)
{
    return layout.four_byte_lengths ? 4 : 2;
}

// Zero bytes that bring an address up to a multiple of 4, with alignment only.
std::uint32_t padding_after(std::uint32_t address, const CollectionLayout& layout)
{
    return layout.align ? (4 - (address & 3)) & 3 : 0;
}

std::uint32_t names_size(std::span<const CollectionEntry> entries)
{
    std::uint32_t size = 0;
    for (const CollectionEntry& entry : entries) {
        size += static_cast<std::uint32_t>(entry.name.size() + 1);
    }
    return size;
}

// A 2-byte length holds the low 16 bits in the layout's byte order.
void store_length(unsigned char* p, std::uint32_t length, const CollectionLayout& layout)
{
    unsigned char word[4];
    store_u32(layout.big_endian, word, length);
    if (layout.four_byte_lengths) {
        std::memcpy(p, word, 4);
    } else {
        std::memcpy(p, layout.big_endian ? word + 2 : word, 2);
    }
}

std::uint32_t load_length(const unsigned char* p, const CollectionLayout& layout)
{
    if (layout.four_byte_lengths) {
        return load_u32(layout.big_endian, p);
    }
    return layout.big_endian ? load_be16(p) : load_le16(p);
}

// Offset of an address in the image, when it lies at or after the base and
// not beyond limit.
bool offset_of(std::uint32_t address, const CollectionLayout& layout, std::size_t limit, std::size_t& offset)
{
    if (address < layout.base || address - layout.base > limit) {
        return false;
    }
    offset = address - layout.base;
    return true;
}

bool all_zero(std::span<const unsigned char> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
}

// The fixed fields of every record; the names and data are checked after.
CollectionFault read_records(std::span<const unsigned char> image, const CollectionLayout& layout, std::size_t table,
                             std::span<CollectionRecord> records, std::size_t& at)
{
    const std::size_t record_size = collection_record_size(layout);
    const std::size_t fields = ADDRESSES_SIZE + length_field_size(layout) + 2;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const unsigned char* p = image.data() + table + i * record_size;
        CollectionRecord& record = records[i];
        record = {};
        at = i;
        record.name_address = load_u32(layout.big_endian, p);
        record.data_address = load_u32(layout.big_endian, p + 4);
        record.entry.length = load_length(p + ADDRESSES_SIZE, layout);
        record.entry.type = p[fields - 2];
        record.entry.visibility = p[fields - 1];
        if (!all_zero({p + fields, record_size - fields})) {
            return CollectionFault::padding_not_zero;
        }
        if ((record.entry.visibility & VISIBILITY_MARK) == 0) {
            return CollectionFault::visibility_unmarked;
        }
    }
    return CollectionFault::none;
}

// Names follow each other from the end of the data area; names_end receives
// the offset after the last one (names_start when there are none).
CollectionFault read_names(std::span<const unsigned char> image, const CollectionLayout& layout, std::size_t table,
                           std::span<CollectionRecord> records, std::size_t& names_end, std::size_t& at)
{
    std::size_t expected = names_end;
    for (CollectionRecord& record : records) {
        at = static_cast<std::size_t>(&record - records.data());
        std::size_t offset = 0;
        if (!offset_of(record.name_address, layout, table, offset) || offset != expected || offset == table) {
            return CollectionFault::name_outside;
        }
        const unsigned char* start = image.data() + offset;
        const void* nul = std::memchr(start, 0, table - offset);
        if (nul == nullptr) {
            return CollectionFault::name_unterminated;
        }
        std::size_t size = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - start);
        record.entry.name = {reinterpret_cast<const char*>(start), size};
        expected = offset + size + 1;
    }
    names_end = expected;
    return CollectionFault::none;
}

// Data blocks lie back to back from offset 0 up to the first name; a 2-byte
// length holds the low 16 bits of its block's size.
CollectionFault read_data(std::span<const unsigned char> image, const CollectionLayout& layout,
                          std::size_t names_start, std::span<CollectionRecord> records, std::size_t& at)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        at = i;
        std::size_t offset = 0;
        if (!offset_of(records[i].data_address, layout, names_start, offset) || offset != start) {
            return CollectionFault::data_outside;
        }
        // The next block's address ends this one; when it points outside
        // or backwards, the fault is that record's.
        std::size_t end = names_start;
        if (i + 1 < records.size() &&
            (!offset_of(records[i + 1].data_address, layout, names_start, end) || end < offset)) {
            at = i + 1;
            return CollectionFault::data_outside;
        }
        std::size_t size = end - offset;
        bool fits = layout.four_byte_lengths ? size == records[i].entry.length
                                             : (size & 0xFFFF) == records[i].entry.length;
        if (!fits) {
            return CollectionFault::length_mismatch;
        }
        records[i].data = image.subspan(offset, size);
        start = end;
    }
    return CollectionFault::none;
}

}  // namespace

std::size_t collection_record_size(const CollectionLayout& layout)
{
    std::size_t size = ADDRESSES_SIZE + length_field_size(layout) + 2;
    return layout.align ? (size + 3) & ~std::size_t{3} : size;
}

std::uint32_t total_file_length(std::span<const CollectionEntry> entries)
{
    std::uint32_t total = 0;
    for (const CollectionEntry& entry : entries) {
        total += entry.length;
    }
    return total;
}

std::size_t collection_tail_size(std::span<const CollectionEntry> entries, const CollectionLayout& layout)
{
    std::uint32_t names_end = layout.base + total_file_length(entries) + names_size(entries);
    return names_size(entries) + padding_after(names_end, layout) + entries.size() * collection_record_size(layout) +
           TRAILER_SIZE;
}

CollectionTail write_collection_tail(std::span<const CollectionEntry> entries, const CollectionLayout& layout,
                                     std::span<unsigned char> out)
{
    const std::size_t size = collection_tail_size(entries, layout);
    if (out.size() < size) {
        return {};
    }
    std::memset(out.data(), 0, size);
    unsigned char* p = out.data();
    const std::uint32_t names_address = layout.base + total_file_length(entries);
    for (const CollectionEntry& entry : entries) {
        std::memcpy(p, entry.name.data(), entry.name.size());
        p += entry.name.size() + 1;
    }
    std::uint32_t names_end = names_address + names_size(entries);
    p += padding_after(names_end, layout);
    const std::uint32_t table_location = names_end + padding_after(names_end, layout);

    // The table starts on a multiple of 4 with alignment, and every record
    // size is one then, so each record ends on one too.
    std::uint32_t name_address = names_address;
    std::uint32_t data_address = layout.base;
    const std::size_t length_at = ADDRESSES_SIZE + length_field_size(layout);
    for (const CollectionEntry& entry : entries) {
        store_u32(layout.big_endian, p, name_address);
        store_u32(layout.big_endian, p + 4, data_address);
        store_length(p + ADDRESSES_SIZE, entry.length, layout);
        p[length_at] = entry.type;
        p[length_at + 1] = static_cast<unsigned char>(entry.visibility | VISIBILITY_MARK);
        name_address += static_cast<std::uint32_t>(entry.name.size() + 1);
        data_address += entry.length;
        p += collection_record_size(layout);
    }
    p += END_OF_LIST_SIZE;
    store_u32(layout.big_endian, p, table_location);
    return {size, table_location};
}

CollectionReading read_collection_image(std::span<const unsigned char> image, const CollectionLayout& layout,
                                        std::span<CollectionRecord> records)
{
    CollectionReading reading;
    if (image.size() < TRAILER_SIZE) {
        reading.fault = CollectionFault::too_short;
        return reading;
    }
    const std::size_t end_of_list = image.size() - TRAILER_SIZE;
    reading.table_location = load_u32(layout.big_endian, image.data() + image.size() - LOCATION_SIZE);
    std::size_t table = 0;
    const std::size_t record_size = collection_record_size(layout);
    if (!offset_of(reading.table_location, layout, end_of_list, table)) {
        reading.fault = CollectionFault::table_outside;
    } else if ((end_of_list - table) % record_size != 0) {
        reading.fault = CollectionFault::records_incomplete;
    } else if (!all_zero(image.subspan(end_of_list, END_OF_LIST_SIZE))) {
        reading.fault = CollectionFault::list_not_ended;
    } else if ((end_of_list - table) / record_size > records.size()) {
        reading.fault = CollectionFault::too_many_files;
    } else if (layout.align && (reading.table_location & 3) != 0) {
        reading.fault = CollectionFault::table_misaligned;
    }
    if (reading.fault != CollectionFault::none) {
        return reading;
    }
    reading.count = (end_of_list - table) / record_size;
    std::span<CollectionRecord> found = records.first(reading.count);
    reading.fault = read_records(image, layout, table, found, reading.record);
    if (reading.fault != CollectionFault::none) {
        return reading;
    }

    // With no files there is no name to tell where the data ends: both areas are empty.
    std::size_t names_start = 0;
    if (!found.empty() && !offset_of(found[0].name_address, layout, table, names_start)) {
        reading.fault = CollectionFault::name_outside;
        reading.record = 0;
        return reading;
    }
    std::size_t names_end = names_start;
    reading.fault = read_names(image, layout, table, found, names_end, reading.record);
    if (reading.fault == CollectionFault::none) {
        reading.fault = read_data(image, layout, names_start, found, reading.record);
    }
    if (reading.fault != CollectionFault::none) {
        return reading;
    }
    // What is left concerns the table as a whole, not one record.
    reading.record = reading.count;
    std::uint32_t padding = padding_after(layout.base + static_cast<std::uint32_t>(names_end), layout);
    if (names_end + padding != table) {
        reading.fault = CollectionFault::table_misplaced;
    } else if (!all_zero(image.subspan(names_end, padding))) {
        reading.fault = CollectionFault::padding_not_zero;
    }
    return reading;
}
