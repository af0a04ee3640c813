#include "control/entry_row.hpp"

#include <algorithm>

#include "control/run_flags.hpp"

EntryRow add_entry_row(UserTable& table, const EntryBuffers& entry, std::uint32_t flags, ArrayNames* names,
                       int file_number)
{
    EntryRow row;
    if (!add_table_entry(table, 0, entry.path.data(), nullptr, nullptr, flags)) {
        row.status = RowStatus::table_full;
        return row;
    }
    static_assert(PATH_BUFFER_SIZE + 1 <= ARRAY_NAME_CAPACITY);
    std::copy(entry.path.begin(), entry.path.end(), row.made.begin());
    make_array_name(row.made.data());
    row.chosen = row.made;
    if (names != nullptr) {
        switch (name_entry_array(*names, file_number, row.made.data(), row.chosen)) {
        case NameChoice::taken:
            row.status = RowStatus::name_taken;
            return row;
        case NameChoice::suffixed:
            row.renamed = true;
            break;
        case NameChoice::as_made:
        case NameChoice::full:
            break;
        }
    }
    if (!add_table_entry(table, 1, row.chosen.data(), entry.mime.data(), entry.visibility.data(), flags)) {
        row.status = RowStatus::table_full;
    }
    return row;
}

CollectionLayout collection_layout_of(const ControlSettings& settings)
{
    CollectionLayout layout;
    layout.base = settings.target_address + static_cast<std::uint32_t>(lookup_definition(settings, "FILE_HEADER_LEN"));
    layout.big_endian = lookup_definition(settings, "BIG_ENDIAN") != 0;
    layout.four_byte_lengths = lookup_definition(settings, "MAX_FILE_LENGTH") == 4;
    layout.align = lookup_definition(settings, "ALIGN") != 0;
    return layout;
}

CollectionEntry collection_entry_of(const ControlSettings& settings, const TableRow& row, std::uint32_t length)
{
    return {row.name.data(), row.array_name.data(),
            static_cast<std::uint8_t>(lookup_definition(settings, row.mime.data())),
            static_cast<std::uint8_t>(lookup_definition(settings, row.visibility.data())), length};
}

std::array<char, PATH_BUFFER_SIZE> opened_name(const EntryBuffers& entry)
{
    std::array<char, PATH_BUFFER_SIZE> opened = entry.path;
    std::replace(opened.begin(), opened.end(), '?', '-');
    return opened;
}

void entry_done(std::uint32_t& flags)
{
    flags &= ~OPT_PARAMETER_NAME;
}
