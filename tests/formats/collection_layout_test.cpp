// Reading a collection image back, and the byte order of stored words.
#include <array>
#include <gtest/gtest.h>
#include <span>
#include <string>

#include "formats/byte_order.hpp"
#include "formats/collection_layout.hpp"

namespace {

using namespace std::string_literals;

// The worked example, written by hand: big-endian, aligned, 4-byte lengths,
// one file a.htm of 7 bytes with type 2 and visibility 1, at 0x20000000.
const std::string WORKED = "1234567"s + "a.htm\0"s + "\0\0\0"s + "\x20\x00\x00\x07\x20\x00\x00\x00"s +
                           "\x00\x00\x00\x07\x02\x81"s + "\0\0"s + std::string(16, '\0') + "\x20\x00\x00\x10"s;
const CollectionLayout WORKED_LAYOUT{0x20000000, true, true, true};

CollectionReading read_back(const std::string& image, const CollectionLayout& layout, std::span<CollectionRecord> records)
{
    return read_collection_image({reinterpret_cast<const unsigned char*>(image.data()), image.size()}, layout, records);
}

TEST(CollectionReader, WorkedExampleAndEveryFault)
{
    std::array<CollectionRecord, 2> records{};
    CollectionReading ok = read_back(WORKED, WORKED_LAYOUT, records);
    ASSERT_EQ(ok.fault, CollectionFault::none);
    EXPECT_EQ(ok.count, 1u);
    EXPECT_EQ(ok.table_location, 0x20000010u);
    EXPECT_EQ(records[0].entry.name, "a.htm");
    EXPECT_EQ(records[0].entry.length, 7u);
    EXPECT_EQ(records[0].entry.type, 2u);
    EXPECT_EQ(records[0].entry.visibility, 0x81u);
    EXPECT_EQ(std::string(records[0].data.begin(), records[0].data.end()), "1234567");

    struct Case {
        const char* what;
        std::size_t offset;
        std::string bytes;  // written over the image at offset
        CollectionFault fault;
    };
    const Case cases[] = {
        {"location past the end", 51, "\x40", CollectionFault::table_outside},
        {"location below the base", 48, "\x1f\xff", CollectionFault::table_outside},
        {"location inside a record", 51, "\x14", CollectionFault::records_incomplete},
        {"end of list not zero", 40, "\x01", CollectionFault::list_not_ended},
        {"record padding", 30, "\x01", CollectionFault::padding_not_zero},
        {"table padding", 14, "\x01", CollectionFault::padding_not_zero},
        {"visibility without bit 7", 29, "\x01", CollectionFault::visibility_unmarked},
        {"name address past the table", 19, "\x30", CollectionFault::name_outside},
        {"name without its 0x00", 12, "xyzw", CollectionFault::name_unterminated},
        {"data address", 23, "\x01", CollectionFault::data_outside},
        {"length", 27, "\x06", CollectionFault::length_mismatch},
        {"names end early", 11, "\0"s, CollectionFault::table_misplaced},
    };
    for (const Case& c : cases) {
        std::string image = WORKED;
        image.replace(c.offset, c.bytes.size(), c.bytes);
        EXPECT_EQ(read_back(image, WORKED_LAYOUT, records).fault, c.fault) << c.what;
    }
    EXPECT_EQ(read_back(WORKED.substr(0, 19), WORKED_LAYOUT, records).fault, CollectionFault::too_short);
    EXPECT_EQ(read_back(WORKED, WORKED_LAYOUT, std::span(records).first(0)).fault, CollectionFault::too_many_files);
    // One byte lower base, location with it: the table would start off a multiple of 4.
    std::string shifted = WORKED;
    shifted.replace(51, 1, "\x0f");
    EXPECT_EQ(read_back(shifted, {0x1FFFFFFF, true, true, true}, records).fault, CollectionFault::table_misaligned);
    // Told the wrong layout, the table no longer divides into records.
    EXPECT_EQ(read_back(WORKED, {0x20000000, false, true, true}, records).fault, CollectionFault::table_outside);
    EXPECT_EQ(read_back(WORKED, {0x20000000, true, false, true}, records).fault, CollectionFault::records_incomplete);
}

TEST(StoreU32, BothByteOrders)
{
    unsigned char b[4];
    store_u32(true, b, 0x12345678);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "\x12\x34\x56\x78");
    store_u32(false, b, 0x12345678);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "\x78\x56\x34\x12");
}

}  // namespace
