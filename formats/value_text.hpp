// The text of one value in a generated C array: "0x", two hexadecimal digits
// and a comma, five characters with no blank. File arrays use lower-case
// digits, GLCD bitmap arrays upper-case ones; generated files are compared
// byte for byte, so the case is part of each format.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>

constexpr std::size_t VALUE_TEXT_SIZE = 5;

// Each text is padded with zeros to 8 bytes, so that a writer with 3 bytes of
// room to spare behind its text can move a value with one 8-byte copy.
constexpr std::size_t VALUE_TEXT_STRIDE = 8;

using ValueText = std::array<char, VALUE_TEXT_STRIDE>;
using ValueTexts = std::array<ValueText, 256>;

constexpr ValueTexts make_value_texts(bool upper_case)
{
    constexpr char lower[] = "0123456789abcdef";
    constexpr char upper[] = "0123456789ABCDEF";
    const char* digits = upper_case ? upper : lower;
    ValueTexts texts{};
    for (std::size_t value = 0; value < texts.size(); ++value) {
        texts[value] = {'0', 'x', digits[value >> 4], digits[value & 0x0F], ',', 0, 0, 0};
    }
    return texts;
}

// Every value is one of 256 texts: looking them up keeps the loops that write
// arrays free of formatting. Built at compile time, one copy per program.
inline constexpr ValueTexts VALUE_TEXTS_LOWER = make_value_texts(false);
inline constexpr ValueTexts VALUE_TEXTS_UPPER = make_value_texts(true);

// Writes the texts of count values at dest and returns the end of what it
// wrote. Every text is moved as one 8-byte copy, so dest must have
// VALUE_TEXT_SPARE bytes of room behind the last text; the spare bytes are
// left with padding that the caller overwrites or does not count.
constexpr std::size_t VALUE_TEXT_SPARE = VALUE_TEXT_STRIDE - VALUE_TEXT_SIZE;

inline char* put_value_texts(char* dest, const unsigned char* values, std::size_t count, const ValueTexts& texts)
{
    std::size_t i = 0;
    // Four at a time: the loop's own steps would otherwise cost as much as
    // the copies.
    for (; i + 4 <= count; i += 4, dest += 4 * VALUE_TEXT_SIZE) {
        std::memcpy(dest, texts[values[i]].data(), VALUE_TEXT_STRIDE);
        std::memcpy(dest + VALUE_TEXT_SIZE, texts[values[i + 1]].data(), VALUE_TEXT_STRIDE);
        std::memcpy(dest + 2 * VALUE_TEXT_SIZE, texts[values[i + 2]].data(), VALUE_TEXT_STRIDE);
        std::memcpy(dest + 3 * VALUE_TEXT_SIZE, texts[values[i + 3]].data(), VALUE_TEXT_STRIDE);
    }
    for (; i < count; ++i, dest += VALUE_TEXT_SIZE) {
        std::memcpy(dest, texts[values[i]].data(), VALUE_TEXT_STRIDE);
    }
    return dest;
}

// Two upper-case hexadecimal digits of byte, high nibble first.
constexpr void hex_byte_upper(char* dest, unsigned char byte)
{
    dest[0] = VALUE_TEXTS_UPPER[byte][2];
    dest[1] = VALUE_TEXTS_UPPER[byte][3];
}
