#include "collection_image.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "byte_order.hpp"
#include "c_emitter.hpp"
#include "control_file.hpp"

namespace {

// One entry of the user_files table text, found again by its punctuation:
// {"NAME", (unsigned char *)ARRAY, sizeof(ARRAY), MIME, VISIBILITY},\r\n
// Paths never hold a comma or a double quote and identifiers never hold a
// comma or a brace (the collection run refuses them), so the marks are safe.
struct TableEntry {
    std::string_view name;
    std::string_view mime;
    std::string_view visibility;
};

// Parses the entry starting at or after pos; pos moves past it.
TableEntry next_table_entry(std::string_view text, std::size_t& pos)
{
    TableEntry entry;
    std::size_t open = text.find('{', pos);
    if (open == std::string_view::npos || open + 2 > text.size()) {
        pos = text.size();
        return entry;
    }
    std::size_t name_start = open + 2;  // past '{' and the opening quote
    std::size_t name_end = text.find('"', name_start);
    entry.name = text.substr(name_start, name_end - name_start);
    // The MIME-type identifier follows the third comma and its blank.
    std::size_t p = name_start;
    for (int commas = 0; commas < 3 && p < text.size(); ++p) {
        if (text[p] == ',') {
            ++commas;
        }
    }
    std::size_t mime_start = std::min(p + 1, text.size());
    std::size_t mime_end = std::min(text.find(',', mime_start), text.size());
    entry.mime = text.substr(mime_start, mime_end - mime_start);
    std::size_t vis_start = std::min(mime_end + 2, text.size());
    std::size_t vis_end = std::min(text.find('}', vis_start), text.size());
    entry.visibility = text.substr(vis_start, vis_end - vis_start);
    std::size_t after = text.find(',', vis_end);
    pos = after == std::string_view::npos ? text.size() : after + 1;
    return entry;
}

// Looks an identifier up among the definitions; an undefined one counts 0.
std::uint32_t definition_value(std::string_view identifier)
{
    std::array<char, 256> name{};
    if (identifier.size() >= name.size()) {
        return 0;
    }
    std::memcpy(name.data(), identifier.data(), identifier.size());
    return static_cast<std::uint32_t>(lookup_definition(name.data()));
}

void put_u32(OutFile& image, bool big_endian, std::uint32_t value)
{
    unsigned char bytes[4];
    store_u32(big_endian, bytes, value);
    out_put(image, bytes, sizeof bytes);
}

// Pads with zero bytes until the address is a multiple of 4.
void pad_to_word(OutFile& image, std::uint32_t& address)
{
    static constexpr unsigned char zeros[4] = {};
    std::uint32_t pad = (4 - (address & 3)) & 3;
    out_put(image, zeros, pad);
    address += pad;
}

}  // namespace

std::uint32_t total_file_length()
{
    std::uint32_t total = 0;
    for (std::int32_t length : file_lengths()) {
        total += static_cast<std::uint32_t>(length);
    }
    return total;
}

std::string_view table_entry_name(std::size_t index)
{
    std::string_view text = user_table_text();
    std::size_t pos = 0;
    TableEntry entry;
    for (std::size_t i = 0; i <= index && pos < text.size(); ++i) {
        entry = next_table_entry(text, pos);
        if (i == index) {
            return entry.name;
        }
    }
    return {};
}

std::uint32_t write_collection_image(OutFile& image)
{
    const std::uint32_t base = control_target_address() +
                               static_cast<std::uint32_t>(lookup_definition("FILE_HEADER_LEN"));
    const bool four_byte_lengths = lookup_definition("MAX_FILE_LENGTH") == 4;
    const bool big_endian = lookup_definition("BIG_ENDIAN") != 0;
    const bool align = lookup_definition("ALIGN") != 0;
    const std::string_view text = user_table_text();
    const std::span<const std::int32_t> lengths = file_lengths();

    // Names, right behind the file data.
    std::array<std::uint32_t, MAX_FILES> name_address{};
    std::uint32_t address = base + total_file_length();
    std::size_t pos = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        TableEntry entry = next_table_entry(text, pos);
        name_address[i] = address;
        out_put(image, entry.name.data(), entry.name.size());
        out_put(image, "", 1);
        address += static_cast<std::uint32_t>(entry.name.size() + 1);
    }
    if (align) {
        pad_to_word(image, address);
    }
    const std::uint32_t table_location = address;

    // One header record per file; alignment is computed on target addresses.
    std::uint32_t data_address = base;
    pos = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        TableEntry entry = next_table_entry(text, pos);
        const auto length = static_cast<std::uint32_t>(lengths[i]);
        put_u32(image, big_endian, name_address[i]);
        put_u32(image, big_endian, data_address);
        data_address += length;
        address += 8;
        if (four_byte_lengths) {
            put_u32(image, big_endian, length);
            address += 4;
        } else {
            unsigned char word[4];
            store_u32(big_endian, word, length);
            out_put(image, big_endian ? word + 2 : word, 2);
            address += 2;
        }
        unsigned char type_and_visibility[2] = {
            static_cast<unsigned char>(definition_value(entry.mime)),
            static_cast<unsigned char>(definition_value(entry.visibility) | 0x80),
        };
        out_put(image, type_and_visibility, 2);
        address += 2;
        if (align) {
            pad_to_word(image, address);
        }
    }

    static constexpr unsigned char end_of_list[16] = {};
    out_put(image, end_of_list, sizeof end_of_list);
    put_u32(image, big_endian, table_location);
    return table_location;
}
