#include "control/array_names.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>


namespace {

// Sorted, for a binary search.
constexpr std::string_view RESERVED_NAMES[] = {
    "_Alignas", "_Alignof", "_Atomic", "_BitInt", "_Bool", "_Complex", "_Decimal128", "_Decimal32", "_Decimal64",
    "_Generic", "_ILP32", "_Imaginary", "_LP64", "_Noreturn", "_Pragma", "_Static_assert", "_Thread_local", "_WIN32",
    "_WIN64", "__BASE_FILE__", "__COUNTER__", "__DATE__", "__ELF__", "__FILE__", "__GNUC__", "__INCLUDE_LEVEL__",
    "__LINE__", "__STDC_HOSTED__", "__STDC_VERSION__", "__STDC__", "__TIMESTAMP__", "__TIME__", "__VA_ARGS__",
    "__VA_OPT__", "__amd64", "__amd64__", "__func__", "__gnu_linux__", "__has_c_attribute", "__has_embed",
    "__has_include", "__linux", "__linux__", "__unix", "__unix__", "__x86_64", "__x86_64__", "alignas", "alignof",
    "auto", "bool", "break", "case", "char", "const", "constexpr", "continue", "default", "do", "double", "else",
    "enum", "extern", "false", "float", "for", "goto", "if", "inline", "int", "linux", "long", "main", "nullptr",
    "register", "restrict", "return", "short", "signed", "sizeof", "static", "static_assert", "struct", "switch",
    "thread_local", "true", "typedef", "typeof", "typeof_unqual", "union", "unix", "unsigned", "void", "volatile",
    "while",
};

constexpr bool sorted_names()
{
    for (std::size_t i = 1; i < std::size(RESERVED_NAMES); ++i) {
        if (!(RESERVED_NAMES[i - 1] < RESERVED_NAMES[i])) {
            return false;
        }
    }
    return true;
}
static_assert(sorted_names());

bool identifier_byte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool in_use(const ArrayNames& names, std::string_view name)
{
    return std::any_of(names.names.begin(), names.names.begin() + static_cast<std::ptrdiff_t>(names.count),
                       [&](const ArrayName& used) { return name == used.data(); });
}

}  // namespace

bool is_c_identifier(std::string_view name)
{
    return !name.empty() && !(name[0] >= '0' && name[0] <= '9') &&
           std::all_of(name.begin(), name.end(), identifier_byte);
}

bool is_reserved_name(std::string_view name)
{
    return std::binary_search(std::begin(RESERVED_NAMES), std::end(RESERVED_NAMES), name);
}

void make_identifier_bytes(char* name)
{
    for (; *name != '\0'; ++name) {
        if (!identifier_byte(*name)) {
            *name = '_';
        }
    }
}

NameChoice name_entry_array(ArrayNames& names, int file_number, std::string_view made, ArrayName& chosen)
{
    if (names.count == MAX_ARRAY_NAMES) {
        return NameChoice::full;
    }
    NameChoice choice = NameChoice::as_made;
    std::size_t length = std::min(made.size(), chosen.size() - NAME_SUFFIX_SIZE - 1);
    std::memcpy(chosen.data(), made.data(), length);
    chosen[length] = '\0';
    if (in_use(names, chosen.data()) || is_reserved_name(chosen.data())) {
        std::snprintf(chosen.data() + length, NAME_SUFFIX_SIZE + 1, "_%d", file_number);
        if (in_use(names, chosen.data())) {
            return NameChoice::taken;
        }
        choice = NameChoice::suffixed;
    }
    names.names[names.count++] = chosen;
    return choice;
}
