#include "formats/s_records.hpp"

#include "formats/text_records.hpp"

namespace {

// Address bytes of each record type; 0 for the type that does not exist.
constexpr unsigned ADDRESS_BYTES[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

}  // namespace

bool looks_like_s_records(std::span<const unsigned char> input)
{
    return input.size() >= 4 && input[0] == 'S' && input[1] >= '0' && input[1] <= '9' && input[1] != '4' &&
           hex_digits(input.data() + 2, 2);
}

void read_s_records(std::span<const unsigned char> input, Placement& place)
{
    LineCursor cursor;
    TextLine line;
    std::uint64_t data_records = 0;
    while (place.fault == InputFault::none && next_line(input, cursor, line)) {
        const unsigned char* t = line.text;
        if (line.length < 2 || t[0] != 'S' || t[1] < '0' || t[1] > '9') {
            return set_fault(place, InputFault::not_a_record, line.number);
        }
        const unsigned type = t[1] - '0';
        const unsigned address_bytes = ADDRESS_BYTES[type];
        if (address_bytes == 0) {
            return set_fault(place, InputFault::bad_type, line.number);
        }
        if (line.length < 4 || !hex_digits(t + 2, 2)) {
            return set_fault(place, InputFault::bad_digit, line.number);
        }
        const unsigned count = hex_byte(t + 2);
        if (line.length != 4 + 2 * count) {
            return set_fault(place, InputFault::bad_length, line.number);
        }
        if (!hex_digits(t + 4, line.length - 4)) {
            return set_fault(place, InputFault::bad_digit, line.number);
        }
        if (count < address_bytes + 1) {
            return set_fault(place, InputFault::bad_type, line.number);
        }
        if ((decode_pairs(t + 2, count + 1, nullptr) & 0xFF) != 0xFF) {
            return set_fault(place, InputFault::bad_checksum, line.number);
        }
        std::uint64_t address = 0;
        for (unsigned i = 0; i < address_bytes; ++i) {
            address = address << 8 | hex_byte(t + 4 + 2 * i);
        }
        const unsigned data_bytes = count - address_bytes - 1;
        if (type >= 5 && data_bytes != 0) {
            return set_fault(place, InputFault::bad_type, line.number);
        }
        if (type >= 1 && type <= 3) {
            data_records += 1;
            place_hex_data(input, place, address, t + 4 + 2 * address_bytes, data_bytes, line.number);
        } else if ((type == 5 || type == 6) && address != data_records) {
            return set_fault(place, InputFault::bad_count, line.number);
        } else if (type >= 7) {
            return expect_only_line_ends(input, cursor, place);
        }
    }
    if (place.fault == InputFault::none) {
        set_fault(place, InputFault::no_end, cursor.number);
    }
}
