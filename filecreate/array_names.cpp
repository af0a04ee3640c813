#include "filecreate/array_names.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "filecreate/diagnostics.hpp"
#include "filecreate/run_record.hpp"

namespace {

bool in_use(const ArrayNames& names, std::string_view name)
{
    return std::any_of(names.names.begin(), names.names.begin() + static_cast<std::ptrdiff_t>(names.count),
                       [&](const ArrayName& used) { return name == used.data(); });
}

}  // namespace

NameChoice name_entry_array(FileCreateRun& run, std::string_view made, const char* entry_path, ArrayName& chosen)
{
    ArrayNames& names = run.array_names;
    if (names.count == MAX_ARRAY_NAMES) {
        return NameChoice::full;
    }
    NameChoice choice = NameChoice::as_made;
    std::size_t length = std::min(made.size(), chosen.size() - NAME_SUFFIX_SIZE - 1);
    std::memcpy(chosen.data(), made.data(), length);
    chosen[length] = '\0';
    if (in_use(names, chosen.data())) {
        std::snprintf(chosen.data() + length, NAME_SUFFIX_SIZE + 1, "_%d", run.file_number);
        if (in_use(names, chosen.data())) {
            return NameChoice::taken;
        }
        warn_array_renamed(run, made, entry_path, chosen.data());
        choice = NameChoice::suffixed;
    }
    names.names[names.count++] = chosen;
    return choice;
}
