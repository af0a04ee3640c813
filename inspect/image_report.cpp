#include "inspect/image_report.hpp"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "control/entry_row.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/printable.hpp"

namespace {

constexpr unsigned char VISIBILITY_MARK = 0x80;  // set in every stored visibility byte

enum class Field { type, visibility };

// An identifier that an entry of the control file uses, with the byte the
// image writer stores for it.
struct Identifier {
    const char* name;
    Field field;
    unsigned char byte;
};

struct Identifiers {
    std::array<Identifier, 2 * MAX_FILES> list;
    std::size_t count = 0;
};

void add_identifier(Identifiers& known, const InspectRun& run, const char* name, Field field)
{
    for (std::size_t i = 0; i < known.count; ++i) {
        if (known.list[i].field == field && std::strcmp(known.list[i].name, name) == 0) {
            return;
        }
    }
    // The image writer stores the low 8 bits of the value, a visibility with bit 7 set.
    auto byte = static_cast<unsigned char>(lookup_definition(run.settings, name));
    if (field == Field::visibility) {
        byte = static_cast<unsigned char>(byte | VISIBILITY_MARK);
    }
    known.list[known.count++] = {name, field, byte};
}

// The identifiers of the entries in the order they are first used.
void collect_identifiers(const InspectRun& run, Identifiers& known)
{
    for (std::size_t i = 0; i < run.table.row_count; ++i) {
        add_identifier(known, run, run.table.rows[i].mime.data(), Field::type);
        add_identifier(known, run, run.table.rows[i].visibility.data(), Field::visibility);
    }
}

// The names whose byte is byte, joined by '/'; "-" when there is none, and
// "..." at the end of a list too long for its column.
using NameList = std::array<char, 64>;

void names_for(const Identifiers& known, Field field, unsigned char byte, NameList& names)
{
    std::size_t used = 0;
    for (std::size_t i = 0; i < known.count; ++i) {
        const Identifier& id = known.list[i];
        const std::size_t length = std::strlen(id.name);
        if (id.field != field || id.byte != byte || length == 0) {
            continue;
        }
        const std::size_t needed = (used == 0 ? 0 : 1) + length;
        if (used + needed + 4 > names.size()) {
            std::memcpy(names.data() + used, "...", 4);
            return;
        }
        if (used != 0) {
            names[used++] = '/';
        }
        std::memcpy(names.data() + used, id.name, length);
        used += length;
    }
    std::memcpy(names.data() + used, used == 0 ? "-" : "", used == 0 ? 2 : 1);
}

}  // namespace

void print_image_layout(const InspectRun& run, const char* image_path, const char* control_path)
{
    const CollectionLayout layout = collection_layout_of(run.settings);
    std::printf(MSG_IMAGE_LAYOUT, image_path, control_path, run.settings.target_address,
                lookup_definition(run.settings, "FILE_HEADER_LEN"), layout.big_endian ? "big-endian" : "little-endian",
                layout.four_byte_lengths ? "4-byte lengths" : "2-byte lengths", layout.align ? "aligned" : "unaligned");
}

void print_image_fault(const CollectionReading& reading, const InspectRun& run, const char* image_path)
{
    const CollectionLayout layout = collection_layout_of(run.settings);
    const std::size_t number = reading.record + 1;
    const CollectionRecord& record = run.records[reading.record < MAX_FILES ? reading.record : 0];
    switch (reading.fault) {
    case CollectionFault::none:
        break;
    case CollectionFault::too_short:
        std::printf(MSG_IMAGE_TOO_SHORT, image_path);
        break;
    case CollectionFault::table_outside:
        std::printf(MSG_TABLE_OUTSIDE, image_path, reading.table_location);
        break;
    case CollectionFault::records_incomplete:
        std::printf(MSG_RECORDS_INCOMPLETE, image_path, collection_record_size(layout));
        break;
    case CollectionFault::list_not_ended:
        std::printf(MSG_LIST_NOT_ENDED, image_path);
        break;
    case CollectionFault::too_many_files:
        std::printf(MSG_TOO_MANY_RECORDS, image_path, MAX_FILES);
        break;
    case CollectionFault::table_misaligned:
        std::printf(MSG_TABLE_MISALIGNED, image_path, reading.table_location);
        break;
    case CollectionFault::padding_not_zero:
        if (reading.record < reading.count) {
            std::printf(MSG_RECORD_PADDING, image_path, number);
        } else {
            std::printf(MSG_TABLE_PADDING, image_path);
        }
        break;
    case CollectionFault::visibility_unmarked:
        std::printf(MSG_VISIBILITY_UNMARKED, image_path, number);
        break;
    case CollectionFault::name_outside:
        std::printf(MSG_NAME_OUTSIDE, image_path, number, record.name_address);
        break;
    case CollectionFault::name_unterminated:
        std::printf(MSG_NAME_UNTERMINATED, image_path, number);
        break;
    case CollectionFault::data_outside:
        std::printf(MSG_DATA_OUTSIDE, image_path, number, record.data_address);
        break;
    case CollectionFault::length_mismatch:
        std::printf(MSG_LENGTH_MISMATCH, image_path, number, record.entry.length);
        break;
    case CollectionFault::table_misplaced:
        std::printf(MSG_TABLE_MISPLACED, image_path);
        break;
    }
}

void print_image_records(const CollectionReading& reading, const InspectRun& run)
{
    std::printf(MSG_IMAGE_TABLE, reading.table_location, reading.count);
    std::printf("%s", MSG_IMAGE_COLUMNS);
    Identifiers known;
    collect_identifiers(run, known);
    NameList types{};
    NameList visibilities{};
    PrintableText name{};
    for (std::size_t i = 0; i < reading.count; ++i) {
        const CollectionRecord& record = run.records[i];
        names_for(known, Field::type, record.entry.type, types);
        names_for(known, Field::visibility, record.entry.visibility, visibilities);
        const bool squeezed = i < run.entry_count && run.entries[i].squeezed;
        std::printf(MSG_IMAGE_ENTRY, record.data_address, static_cast<unsigned>(record.data.size()), record.entry.type,
                    types.data(), record.entry.visibility, visibilities.data(), printable(record.entry.name, name),
                    squeezed ? " (squeezed)" : "");
    }
}
