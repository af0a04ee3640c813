#include "filecreate/collection_image.hpp"

#include <algorithm>
#include <array>

namespace {

// The largest tail: every name as long as a path may be, padding, records of
// the largest size, end of list and location.
constexpr std::size_t LARGEST_TAIL = MAX_FILES * (PATH_BUFFER_SIZE + 16) + 3 + 20;
static_assert(LARGEST_TAIL <= INPUT_BUFFER_SIZE);

// An identifier's value as the record stores it: its low 8 bits; an
// undefined one counts 0.
std::uint8_t identifier_byte(const ControlSettings& settings, const char* identifier)
{
    return static_cast<std::uint8_t>(lookup_definition(settings, identifier));
}

}  // namespace

CollectionLayout collection_layout_of(const ControlSettings& settings)
{
    CollectionLayout layout;
    layout.base = settings.target_address + static_cast<std::uint32_t>(lookup_definition(settings, "FILE_HEADER_LEN"));
    layout.big_endian = lookup_definition(settings, "BIG_ENDIAN") != 0;
    layout.four_byte_lengths = lookup_definition(settings, "MAX_FILE_LENGTH") == 4;
    layout.align = lookup_definition(settings, "ALIGN") != 0;
    return layout;
}

std::uint32_t write_collection_image(const ControlSettings& settings, const UserTable& table,
                                     std::span<unsigned char, INPUT_BUFFER_SIZE> scratch, OutFile& image)
{
    // Definitions may come after the last entry, so the identifiers are
    // looked up only now.
    std::array<CollectionEntry, MAX_FILES> entries{};
    std::size_t count = std::min(table.row_count, table.length_count);
    for (std::size_t i = 0; i < count; ++i) {
        const TableRow& row = table.rows[i];
        entries[i] = {row.name.data(), row.array_name.data(), identifier_byte(settings, row.mime.data()),
                      identifier_byte(settings, row.visibility.data()), table.lengths[i]};
    }
    CollectionTail tail = write_collection_tail(std::span(entries).first(count), collection_layout_of(settings), scratch);
    out_put(image, scratch.data(), tail.size);
    return tail.table_location;
}
