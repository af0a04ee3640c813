#include "filecreate/collection_image.hpp"

#include <algorithm>
#include <array>

namespace {

// The largest tail: every name as long as a path may be, padding, records of
// the largest size, end of list and location.
constexpr std::size_t LARGEST_TAIL = MAX_FILES * (PATH_BUFFER_SIZE + 16) + 3 + 20;
static_assert(LARGEST_TAIL <= INPUT_BUFFER_SIZE);

}  // namespace

std::uint32_t write_collection_image(const ControlSettings& settings, const UserTable& table,
                                     std::span<unsigned char, INPUT_BUFFER_SIZE> scratch, OutFile& image)
{
    // Definitions may come after the last entry, so the identifiers are
    // looked up only now.
    std::array<CollectionEntry, MAX_FILES> entries{};
    std::size_t count = std::min(table.row_count, table.length_count);
    for (std::size_t i = 0; i < count; ++i) {
        entries[i] = collection_entry_of(settings, table.rows[i], table.lengths[i]);
    }
    CollectionTail tail = write_collection_tail(std::span(entries).first(count), collection_layout_of(settings), scratch);
    out_put(image, scratch.data(), tail.size);
    return tail.table_location;
}
