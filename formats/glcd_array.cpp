#include "formats/glcd_array.hpp"

namespace {

constexpr std::size_t NOWHERE = std::string_view::npos;

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_name_char(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

int digit_value(char c)
{
    if (is_digit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Whether first and second stand at at and at + 1 (checked by hand: the
// project has no use for substr's out-of-range exception).
bool pair_at(std::string_view text, std::size_t at, char first, char second)
{
    return at + 1 < text.size() && text[at] == first && text[at + 1] == second;
}

// Passes over blanks and comments; an unclosed comment runs to the end.
std::size_t skip_blanks(std::string_view text, std::size_t at)
{
    while (at < text.size()) {
        if (is_blank(text[at])) {
            ++at;
        } else if (pair_at(text, at, '/', '*')) {
            std::size_t close = text.find("*/", at + 2);
            at = close == NOWHERE ? text.size() : close + 2;
        } else if (pair_at(text, at, '/', '/')) {
            std::size_t line_end = text.find('\n', at + 2);
            at = line_end == NOWHERE ? text.size() : line_end + 1;
        } else {
            break;
        }
    }
    return at;
}

// Passes over a string or character literal starting at its quote; an
// unclosed one ends at the line end.
std::size_t skip_literal(std::string_view text, std::size_t at)
{
    char quote = text[at++];
    while (at < text.size() && text[at] != quote && text[at] != '\n') {
        at += text[at] == '\\' ? 2 : 1;
    }
    return at < text.size() ? at + 1 : text.size();
}

// The next '{' at or after at that is not inside a comment or literal.
std::size_t next_open_brace(std::string_view text, std::size_t at)
{
    while (at < text.size()) {
        at = skip_blanks(text, at);
        if (at >= text.size()) {
            break;
        }
        char c = text[at];
        if (c == '{') {
            return at;
        }
        at = c == '"' || c == '\'' ? skip_literal(text, at) : at + 1;
    }
    return NOWHERE;
}

// One C integer literal from 0 to 255: 0x hexadecimal, 0 octal or decimal.
bool read_value(std::string_view text, std::size_t& at, unsigned& value)
{
    std::size_t p = at;
    unsigned base = 10;
    if (p < text.size() && text[p] == '0') {
        base = 8;  // the leading zero is read as an octal digit
        if (p + 1 < text.size() && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
            base = 16;
            p += 2;
        }
    }
    std::size_t first_digit = p;
    unsigned v = 0;
    for (; p < text.size(); ++p) {
        int digit = digit_value(text[p]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            break;
        }
        v = v * base + static_cast<unsigned>(digit);
        if (v > 255) {
            return false;
        }
    }
    // No digits, or a number running into letters (a suffix, 09, 0x1G).
    if (p == first_digit || (p < text.size() && is_name_char(text[p]))) {
        return false;
    }
    at = p;
    value = v;
    return true;
}

// The values of the list opened at text[open]. end receives the position
// after its '}', or where reading stopped (always past open).
GlcdDecode read_list(std::string_view text, std::size_t open, std::vector<unsigned char>& values, std::size_t& end)
{
    values.clear();
    std::size_t at = skip_blanks(text, open + 1);
    if (at < text.size() && text[at] == '}') {
        end = at + 1;
        return GlcdDecode::ok;
    }
    for (;;) {
        unsigned value = 0;
        if (!read_value(text, at, value)) {
            end = at;
            return GlcdDecode::bad_value;
        }
        values.push_back(static_cast<unsigned char>(value));
        at = skip_blanks(text, at);
        bool comma = at < text.size() && text[at] == ',';
        if (comma) {
            at = skip_blanks(text, at + 1);
        }
        if (at < text.size() && text[at] == '}') {
            end = at + 1;
            return GlcdDecode::ok;
        }
        if (!comma) {
            end = at;
            return GlcdDecode::bad_value;
        }
    }
}

GlcdDecode take_values(const std::vector<unsigned char>& values, GlcdArray& array)
{
    if (values.size() < GLCD_PREAMBLE_SIZE || values[0] != 0) {
        return GlcdDecode::no_preamble;
    }
    auto width = static_cast<std::uint16_t>(values[1] << 8 | values[2]);
    auto height = static_cast<std::uint16_t>(values[3] << 8 | values[4]);
    if (values.size() - GLCD_PREAMBLE_SIZE != glcd_pixel_bytes(width, height)) {
        return GlcdDecode::wrong_count;
    }
    array.width = width;
    array.height = height;
    array.rows.assign(values.begin() + GLCD_PREAMBLE_SIZE, values.end());
    return GlcdDecode::ok;
}

// The name in "name[] = {" or "name[N] = {" before the '{' at open, looking
// no further back than floor; empty when the text has another shape.
std::string name_before(std::string_view text, std::size_t open, std::size_t floor)
{
    std::size_t p = open;
    auto back_over_blanks = [&] {
        while (p > floor && is_blank(text[p - 1])) {
            --p;
        }
    };
    auto back_over = [&](char c) {
        back_over_blanks();
        if (p > floor && text[p - 1] == c) {
            --p;
            return true;
        }
        return false;
    };
    if (!back_over('=') || !back_over(']')) {
        return {};
    }
    back_over_blanks();
    while (p > floor && is_digit(text[p - 1])) {
        --p;
    }
    if (!back_over('[')) {
        return {};
    }
    back_over_blanks();
    std::size_t name_end = p;
    while (p > floor && is_name_char(text[p - 1])) {
        --p;
    }
    if (p == name_end || is_digit(text[p])) {
        return {};
    }
    return std::string(text.data() + p, name_end - p);
}

}  // namespace

GlcdDecode glcd_decode_array(std::string_view text, GlcdArray& array)
{
    std::size_t open = next_open_brace(text, 0);
    if (open == NOWHERE) {
        return GlcdDecode::no_values;
    }
    std::vector<unsigned char> values;
    std::size_t end = 0;
    GlcdDecode status = read_list(text, open, values, end);
    if (status == GlcdDecode::ok) {
        status = take_values(values, array);
    }
    if (status == GlcdDecode::ok) {
        array.offset = open;
        array.name = name_before(text, open, 0);
    }
    return status;
}

bool glcd_next_array(std::string_view text, GlcdScan& scan, GlcdArray& array)
{
    if (!scan.started) {
        scan.started = true;
        scan.open = next_open_brace(text, 0);
    }
    while (scan.open != NOWHERE) {
        const std::size_t open = scan.open;
        std::size_t end = open + 1;
        array = GlcdArray{};
        bool found = read_list(text, open, scan.values, end) == GlcdDecode::ok &&
                     take_values(scan.values, array) == GlcdDecode::ok;
        // A list that failed stops at the first token it could not read; an
        // inner '{' there is looked at again, so no byte is read twice over.
        scan.open = next_open_brace(text, end);
        if (found) {
            array.offset = open;
            array.name = name_before(text, open, scan.floor);
            scan.floor = end;
            return true;
        }
    }
    return false;
}

std::vector<GlcdArray> glcd_find_arrays(std::string_view text)
{
    std::vector<GlcdArray> found;
    GlcdScan scan;
    GlcdArray array;
    while (glcd_next_array(text, scan, array)) {
        found.push_back(std::move(array));
    }
    return found;
}

bool glcd_pixel(const GlcdArray& array, unsigned x, unsigned y)
{
    if (x >= array.width || y >= array.height) {
        return false;
    }
    std::size_t at = std::size_t{y} * glcd_row_bytes(array.width) + x / 8;
    return at < array.rows.size() && ((array.rows[at] >> (7 - x % 8)) & 1) != 0;
}
