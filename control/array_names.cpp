#include "control/array_names.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>


namespace {

bool in_use(const ArrayNames& names, std::string_view name)
{
    return std::any_of(names.names.begin(), names.names.begin() + static_cast<std::ptrdiff_t>(names.count),
                       [&](const ArrayName& used) { return name == used.data(); });
}

}  // namespace

NameChoice name_entry_array(ArrayNames& names, int file_number, std::string_view made, ArrayName& chosen)
{
    if (names.count == MAX_ARRAY_NAMES) {
        return NameChoice::full;
    }
    NameChoice choice = NameChoice::as_made;
    std::size_t length = std::min(made.size(), chosen.size() - NAME_SUFFIX_SIZE - 1);
    std::memcpy(chosen.data(), made.data(), length);
    chosen[length] = '\0';
    if (in_use(names, chosen.data())) {
        std::snprintf(chosen.data() + length, NAME_SUFFIX_SIZE + 1, "_%d", file_number);
        if (in_use(names, chosen.data())) {
            return NameChoice::taken;
        }
        choice = NameChoice::suffixed;
    }
    names.names[names.count++] = chosen;
    return choice;
}
