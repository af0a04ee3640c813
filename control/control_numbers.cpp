// Reading the control file's numbers and definitions.
#include <cctype>
#include <cstring>

#include "control/control_file.hpp"

std::int32_t lookup_definition(const ControlSettings& settings, const char* name)
{
    if (name == nullptr) {
        return 0;
    }
    for (std::size_t i = 0; i < settings.definition_count; ++i) {
        if (std::strcmp(settings.definitions[i].name.data(), name) == 0) {
            return settings.definitions[i].value;
        }
    }
    return 0;
}

// Every byte counts as a digit, the wrap-around is part of the format, so
// unsigned arithmetic gives the format's values without overflow.
std::int32_t parse_decimal(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        auto digit = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)) - 48);
        value = value * 10u + digit;
    }
    return static_cast<std::int32_t>(value);
}

std::uint32_t parse_hex(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        auto digit = static_cast<std::uint8_t>(static_cast<unsigned char>(*p) - 0x30);
        if (digit > 9) {
            digit = static_cast<std::uint8_t>(digit - 0x27);  // a-f
        }
        if (digit > 15) {
            digit = static_cast<std::uint8_t>(digit + 0x20);  // A-F
        }
        value = (value << 4) | digit;
    }
    return value;
}

bool decimal_as_written(const char* text)
{
    std::uint64_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(*p - '0');
        if (value > 0x7FFFFFFFu) {
            return false;
        }
    }
    return true;
}

bool hex_as_written(const char* text)
{
    std::size_t significant = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (std::isxdigit(static_cast<unsigned char>(*p)) == 0) {
            return false;
        }
        if (significant > 0 || *p != '0') {
            ++significant;
        }
    }
    return significant <= 8;
}
