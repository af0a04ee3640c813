#include "formats/hex_records.hpp"

#include "formats/text_records.hpp"

bool looks_like_intel_hex(std::span<const unsigned char> input)
{
    return input.size() >= 9 && input[0] == ':' && hex_digits(input.data() + 1, 8) && input[7] == '0' &&
           input[8] >= '0' && input[8] <= '5';
}

void read_intel_hex(std::span<const unsigned char> input, Placement& place)
{
    LineCursor cursor;
    TextLine line;
    std::uint64_t base = 0;
    while (place.fault == InputFault::none && next_line(input, cursor, line)) {
        const unsigned char* t = line.text;
        if (line.length == 0 || t[0] != ':') {
            return set_fault(place, InputFault::not_a_record, line.number);
        }
        if (line.length < 3 || !hex_digits(t + 1, 2)) {
            return set_fault(place, InputFault::bad_digit, line.number);
        }
        const unsigned count = hex_byte(t + 1);
        if (line.length != 1 + 2 * (count + 5)) {
            return set_fault(place, InputFault::bad_length, line.number);
        }
        if (!hex_digits(t + 1, line.length - 1)) {
            return set_fault(place, InputFault::bad_digit, line.number);
        }
        if ((decode_pairs(t + 1, count + 5, nullptr) & 0xFF) != 0) {
            return set_fault(place, InputFault::bad_checksum, line.number);
        }
        const unsigned offset = hex_byte(t + 3) << 8 | hex_byte(t + 5);
        const unsigned type = hex_byte(t + 7);
        const unsigned char* data = t + 9;
        switch (type) {
        case 0:
            place_hex_data(input, place, base + offset, data, count, line.number);
            break;
        case 1:
            if (count != 0) {
                return set_fault(place, InputFault::bad_type, line.number);
            }
            return expect_only_line_ends(input, cursor, place);
        case 2:
        case 4:
            if (count != 2) {
                return set_fault(place, InputFault::bad_type, line.number);
            }
            base = static_cast<std::uint64_t>(hex_byte(data) << 8 | hex_byte(data + 2)) << (type == 2 ? 4 : 16);
            break;
        case 3:
        case 5:
            if (count != 4) {
                return set_fault(place, InputFault::bad_type, line.number);
            }
            break;
        default:
            return set_fault(place, InputFault::bad_type, line.number);
        }
    }
    if (place.fault == InputFault::none) {
        set_fault(place, InputFault::no_end, cursor.number);
    }
}
