#include "formats/text_records.hpp"

#include <array>
#include <cstring>

namespace {

// The value of each upper-case hex digit; 0xFF for every other byte.
constexpr std::array<unsigned char, 256> HEX_VALUE = [] {
    std::array<unsigned char, 256> table{};
    for (auto& v : table) {
        v = 0xFF;
    }
    for (int c = 0; c < 10; ++c) {
        table['0' + c] = static_cast<unsigned char>(c);
    }
    for (int c = 0; c < 6; ++c) {
        table['A' + c] = static_cast<unsigned char>(10 + c);
    }
    return table;
}();

}  // namespace

bool next_line(std::span<const unsigned char> input, LineCursor& cursor, TextLine& line)
{
    if (cursor.pos >= input.size()) {
        return false;
    }
    const unsigned char* start = input.data() + cursor.pos;
    const std::size_t rest = input.size() - cursor.pos;
    const auto* lf = static_cast<const unsigned char*>(std::memchr(start, '\n', rest));
    std::size_t length = lf == nullptr ? rest : static_cast<std::size_t>(lf - start);
    cursor.pos += lf == nullptr ? rest : length + 1;
    if (lf != nullptr && length > 0 && start[length - 1] == '\r') {
        length -= 1;
    }
    cursor.number += 1;
    line = {start, length, cursor.number};
    return true;
}

bool hex_digits(const unsigned char* text, std::size_t count)
{
    unsigned bad = 0;
    for (std::size_t i = 0; i < count; ++i) {
        bad |= HEX_VALUE[text[i]];
    }
    return (bad & 0xF0) == 0;
}

unsigned hex_byte(const unsigned char* text)
{
    return static_cast<unsigned>(HEX_VALUE[text[0]] << 4 | HEX_VALUE[text[1]]);
}

unsigned decode_pairs(const unsigned char* text, std::size_t count, unsigned char* out)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned byte = hex_byte(text + 2 * i);
        sum += byte;
        if (out != nullptr) {
            out[i] = static_cast<unsigned char>(byte);
        }
    }
    return sum;
}

void expect_only_line_ends(std::span<const unsigned char> input, LineCursor cursor, Placement& place)
{
    TextLine line;
    while (next_line(input, cursor, line)) {
        if (line.length != 0) {
            return set_fault(place, InputFault::after_end, line.number);
        }
    }
}

void place_hex_data(std::span<const unsigned char> input, Placement& place, std::uint64_t address,
                    const unsigned char* text, std::size_t count, std::uint64_t line)
{
    if (count == 0) {
        return;
    }
    unsigned char* to = claim_piece(place, address, static_cast<std::uint32_t>(count), line,
                                    static_cast<std::uint64_t>(text - input.data()));
    if (to != nullptr) {
        decode_pairs(text, count, to);
    }
}
