// Text from a file, made fit for one line of a report: control bytes (which
// could end the line or drive the terminal) become '?', and a long text ends
// in "..." at a fixed length.
#pragma once

#include <array>
#include <string_view>

using PrintableText = std::array<char, 256>;

// Fills text and returns it, NUL-terminated.
inline const char* printable(std::string_view bytes, PrintableText& text)
{
    const std::size_t room = text.size() - 4;  // "..." and the NUL
    std::size_t n = 0;
    for (; n < bytes.size() && n < room; ++n) {
        auto c = static_cast<unsigned char>(bytes[n]);
        text[n] = c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    }
    if (n < bytes.size()) {
        text[n++] = '.';
        text[n++] = '.';
        text[n++] = '.';
    }
    text[n] = '\0';
    return text.data();
}
