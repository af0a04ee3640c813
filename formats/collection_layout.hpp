// The binary collection image that firmware loads at a target address:
//
//   file data area   the bytes of every file, back to back, from offset 0
//   name area        each file's name and one 0x00 byte, in file order
//   table padding    with alignment: 0x00 bytes up to an address that is a multiple of 4
//   header table     one record per file: name address, data address,
//                    length (2 or 4 bytes), type byte, visibility byte
//                    (bit 7 always set), with alignment 0x00 bytes up to a multiple of 4
//   end of list      sixteen 0x00 bytes
//   table location   the address of the header table, 4 bytes
//
// Every address is absolute: the image's first byte lies at the base address.
// The image does not say which byte order, length width or alignment it was
// made with; reader and writer are both told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

struct CollectionLayout {
    std::uint32_t base = 0;          // address of the image's first byte (target address + FILE_HEADER_LEN)
    bool big_endian = false;         // every multi-byte field, the 2-byte length included
    bool four_byte_lengths = false;  // else 2-byte lengths holding the low 16 bits
    bool align = false;              // table and records on multiples of 4 (of addresses, not offsets)
};

// One file of a collection.
struct CollectionEntry {
    std::string_view name;        // stored as given, followed by one 0x00 byte
    std::string_view array_name;  // the file's C array; not part of the image (the reader leaves it empty)
    std::uint8_t type = 0;        // low 8 bits of the MIME-type identifier's value
    std::uint8_t visibility = 0;  // low 8 bits of the visibility identifier's value; stored with bit 7 set
    std::uint32_t length = 0;     // bytes of the file in the data area
};

// Size of one header record: 12 with 2-byte lengths, 14 with 4-byte lengths,
// 16 with 4-byte lengths and alignment.
std::size_t collection_record_size(const CollectionLayout& layout);

// Sum of the lengths: the size of the file data area.
std::uint32_t total_file_length(std::span<const CollectionEntry> entries);

// Bytes that follow the file data area: names, padding, records, end of list
// and table location.
std::size_t collection_tail_size(std::span<const CollectionEntry> entries, const CollectionLayout& layout);

struct CollectionTail {
    std::size_t size = 0;              // bytes written; 0 when out was too small (nothing written)
    std::uint32_t table_location = 0;  // address of the header table
};

// Writes everything behind the file data area into out, which must hold
// collection_tail_size bytes. Lengths above 65,535 keep their low 16 bits in
// 2-byte fields, while the data addresses still advance by the full length.
CollectionTail write_collection_tail(std::span<const CollectionEntry> entries, const CollectionLayout& layout,
                                     std::span<unsigned char> out);

// What is wrong with an image, checked in this order.
enum class CollectionFault {
    none,
    too_short,            // no room for the end of list and the table location
    table_outside,        // the table location does not point into the image before the end of list
    records_incomplete,   // the header table is not a whole number of records
    list_not_ended,       // the sixteen bytes before the table location are not all 0x00
    too_many_files,       // more records than the caller's list holds
    table_misaligned,     // with alignment: the table location is not a multiple of 4
    padding_not_zero,     // alignment padding holds something else than 0x00
    visibility_unmarked,  // a visibility byte without bit 7
    name_outside,         // a name does not start where the one before it ends, or not before the table
    name_unterminated,    // no 0x00 byte ends a name before the table
    data_outside,         // the data blocks do not follow each other from offset 0 up to the names
    length_mismatch,      // a stored length disagrees with the size of its data block
    table_misplaced,      // the table does not follow the names (and the padding the layout asks for)
};

// One file header record read back, with what it points at.
struct CollectionRecord {
    CollectionEntry entry;                // visibility as stored (bit 7 set); array_name empty
    std::uint32_t name_address = 0;
    std::uint32_t data_address = 0;
    std::span<const unsigned char> data;  // the whole data block, also beyond 65,535 bytes with 2-byte lengths
};

struct CollectionReading {
    CollectionFault fault = CollectionFault::none;
    std::size_t count = 0;             // records in the header table (0 when the table itself is faulty)
    std::uint32_t table_location = 0;
    std::size_t record = 0;            // a fault of one record: which one, from 0; count for the table padding
};

// Reads a whole image back into records and checks it against the layout;
// names and data point into image.
CollectionReading read_collection_image(std::span<const unsigned char> image, const CollectionLayout& layout,
                                        std::span<CollectionRecord> records);
