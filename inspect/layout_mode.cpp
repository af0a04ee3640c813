#include "inspect/layout_mode.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include "inspect/control_entries.hpp"
#include "inspect/inspect_messages.hpp"
#include "inspect/inspect_output.hpp"

namespace {

// Definitions the image writer takes as its layout: the header names them
// with the KORVANE_ prefix, since BIG_ENDIAN and ALIGN are common macro names
// of system headers.
constexpr const char* LAYOUT_NAMES[] = {"FILE_HEADER_LEN", "MAX_FILE_LENGTH", "BIG_ENDIAN", "ALIGN"};

bool is_layout_name(std::string_view name)
{
    for (const char* layout : LAYOUT_NAMES) {
        if (name == layout) {
            return true;
        }
    }
    return false;
}

// Only names a C compiler takes as a macro name are written.
bool is_identifier(std::string_view name)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) {
        return false;
    }
    for (char c : name) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) {
            return false;
        }
    }
    return true;
}

// Index of the first definition named name (the one that counts), or count.
std::size_t first_definition(const ControlSettings& settings, std::string_view name)
{
    for (std::size_t i = 0; i < settings.definition_count; ++i) {
        if (name == settings.definitions[i].name.data()) {
            return i;
        }
    }
    return settings.definition_count;
}

void put_format(OutFile& out, const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out_put(out, line, static_cast<std::size_t>(std::min(length, static_cast<int>(sizeof line) - 1)));
}

const char* file_name(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash == nullptr ? path : slash + 1;
}

// The identifiers the entries use, in table order (MIME type, then
// visibility of each row): number k.
const char* used_identifier(const InspectRun& run, std::size_t k)
{
    const TableRow& row = run.table.rows[k / 2];
    return k % 2 == 0 ? row.mime.data() : row.visibility.data();
}

void write_header(OutFile& out, const InspectRun& run, const char* control_path, const char* header_path)
{
    // The guard is made from the header's file name.
    std::string_view name = file_name(header_path);
    char guard[128] = "KORVANE_";
    std::size_t used = std::strlen(guard);
    for (std::size_t i = 0; i < name.size() && used + 1 < sizeof guard; ++i) {
        const char c = name[i];
        guard[used++] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : is_identifier({&c, 1}) ? c : '_';
    }
    guard[used] = '\0';
    put_format(out,
               "/* Layout and identifiers of the collection made from %s, written by\n"
               " * KorvaneInspect layout: include it before the C source that\n"
               " * KorvaneFileCreate -f made from the same control file. */\n"
               "#ifndef %s\n#define %s\n\n",
               file_name(control_path), guard, guard);
    const ControlSettings& s = run.settings;
    put_format(out,
               "#define KORVANE_TARGET_ADDRESS 0x%08Xu\n#define KORVANE_FILE_HEADER_LEN %uu\n"
               "#define KORVANE_BIG_ENDIAN %d\n#define KORVANE_FOUR_BYTE_LENGTHS %d\n#define KORVANE_ALIGN %d\n",
               static_cast<unsigned>(s.target_address),
               static_cast<unsigned>(lookup_definition(s, "FILE_HEADER_LEN")), lookup_definition(s, "BIG_ENDIAN") != 0,
               lookup_definition(s, "MAX_FILE_LENGTH") == 4, lookup_definition(s, "ALIGN") != 0);
    put_format(out, "#define KORVANE_LAYOUT {KORVANE_TARGET_ADDRESS, KORVANE_FILE_HEADER_LEN, KORVANE_BIG_ENDIAN, \\\n"
                    "                        KORVANE_FOUR_BYTE_LENGTHS, KORVANE_ALIGN}\n\n");
    for (std::size_t i = 0; i < s.definition_count; ++i) {
        const char* defined = s.definitions[i].name.data();
        if (is_identifier(defined) && !is_layout_name(defined) && first_definition(s, defined) == i) {
            put_format(out, "#define %s %d\n", defined, static_cast<int>(s.definitions[i].value));
        }
    }
    // An identifier used without a definition: the image stores 0 for it.
    for (std::size_t k = 0; k < 2 * run.table.row_count; ++k) {
        const char* id = used_identifier(run, k);
        bool seen = !is_identifier(id) || is_layout_name(id) || first_definition(s, id) < s.definition_count;
        for (std::size_t j = 0; j < k && !seen; ++j) {
            seen = std::strcmp(used_identifier(run, j), id) == 0;
        }
        if (!seen) {
            put_format(out, "#define %s 0 /* not defined in the control file */\n", id);
        }
    }
    put_format(out, "\n#endif\n");
}

}  // namespace

int run_layout_mode(InspectRun& run, const char* control_path, const char* header_path)
{
    // Reading the control file enters its folder, and a relative header path
    // is meant from where the program was started: it is made absolute first.
    // The header is created only once the control file has been read, so
    // that a failed run leaves no header behind that looks up to date.
    std::string where = header_path;
    char folder[4096];
#ifdef _WIN32
    const bool absolute = header_path[0] == '/' || header_path[0] == '\\' || (header_path[0] != '\0' && header_path[1] == ':');
    if (!absolute && ::_getcwd(folder, sizeof folder) != nullptr) {
#else
    if (header_path[0] != '/' && ::getcwd(folder, sizeof folder) != nullptr) {
#endif
        where = std::string(folder) + "/" + header_path;
    }
    int code = read_control_entries(run, control_path);
    if (code == EXIT_OK) {
        code = open_output(run.out, where.c_str(), -1);
    }
    if (code != EXIT_OK) {
        return code;
    }
    write_header(run.out, run, control_path, header_path);
    code = close_output(run.out, header_path);
    if (code == EXIT_OK) {
        std::printf(MSG_LAYOUT_WRITTEN, header_path, control_path);
    }
    return code;
}
