#include "control/user_table.hpp"

#include <array>
#include <cstring>
#include <span>
#include <string_view>

#include "control/run_flags.hpp"

namespace {

constexpr char TABLE_HEAD[] = "static const USER_FILE user_files[] = {\r\n";
constexpr char TABLE_END[] = "{0} // end of list\r\n};\r\n";

bool append_text(UserTable& table, std::string_view text)
{
    if (text.size() > table.text.size() - table.text_length) {
        return false;
    }
    std::memcpy(table.text.data() + table.text_length, text.data(), text.size());
    table.text_length += text.size();
    return true;
}

bool copy_piece(std::span<char> dest, std::string_view text)
{
    if (text.size() >= dest.size()) {
        return false;
    }
    std::memcpy(dest.data(), text.data(), text.size());
    dest[text.size()] = '\0';
    return true;
}

// For a path that starts with "xml" in any case and goes on: the fourth
// character becomes '?', and an extension after it is cut off, so that a
// firmware web server can look the name up as a parameter handler.
std::size_t apply_parameter_name_rule(char* path, std::size_t length)
{
    if (length < 4 || (path[0] | 0x20) != 'x' || (path[1] | 0x20) != 'm' || (path[2] | 0x20) != 'l') {
        return length;
    }
    path[3] = '?';
    for (std::size_t i = length; i-- > 3;) {
        if (path[i] == '?') {
            break;
        }
        if (path[i] == '.') {
            return i;
        }
    }
    return length;
}

// The path as the C compiler must read it inside the string literal of its
// row; the image keeps the bytes as they are. A backslash would start an
// escape, a second question mark could start a trigraph ("??/" under
// -std=c99), and control bytes are no source text: these are escaped, the
// octal escapes with all three digits so that a digit after them stays a
// digit. (A double quote never reaches here from a run, which refuses it.)
std::size_t escape_for_c_string(std::string_view path, std::span<char> out)
{
    std::size_t n = 0;
    char before = '\0';
    for (char c : path) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"' || (c == '?' && before == '?')) {
            out[n++] = '\\';
            out[n++] = c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out[n++] = '\\';
            out[n++] = static_cast<char>('0' + (byte >> 6));
            out[n++] = static_cast<char>('0' + ((byte >> 3) & 7));
            out[n++] = static_cast<char>('0' + (byte & 7));
        } else {
            out[n++] = c;
        }
        before = c;
    }
    return n;
}

// Phase 0: {"PATH", with the rule applied to the path when asked.
bool add_path(UserTable& table, std::string_view path, std::uint32_t flags)
{
    if (table.row_count == MAX_FILES) {
        return false;
    }
    TableRow& row = table.rows[table.row_count];
    if (!copy_piece(row.name, path)) {
        return false;
    }
    if ((flags & OPT_PARAMETER_NAME) != 0) {
        row.name[apply_parameter_name_rule(row.name.data(), path.size())] = '\0';
    }
    std::array<char, PATH_BUFFER_SIZE * 4> escaped;  // at most four characters a byte
    std::size_t length = escape_for_c_string(row.name.data(), escaped);
    if (length + 5 > table.text.size() - table.text_length) {
        return false;
    }
    append_text(table, "{\"");
    append_text(table, {escaped.data(), length});
    append_text(table, "\", ");
    return true;
}

// Phase 1: (unsigned char *)NAME, sizeof(NAME), MIME, VISIBILITY},CR LF
bool add_names(UserTable& table, std::string_view name, std::string_view mime, std::string_view visibility)
{
    if (table.row_count == MAX_FILES) {
        return false;
    }
    TableRow& row = table.rows[table.row_count];
    std::string_view pieces[] = {"(unsigned char *)", name, ", sizeof(", name, "), ", mime, ", ", visibility, "},\r\n"};
    std::size_t total = 0;
    for (auto piece : pieces) {
        total += piece.size();
    }
    if (total > table.text.size() - table.text_length || !copy_piece(row.array_name, name) ||
        !copy_piece(row.mime, mime) || !copy_piece(row.visibility, visibility)) {
        return false;
    }
    for (auto piece : pieces) {
        append_text(table, piece);
    }
    ++table.row_count;
    return true;
}

}  // namespace

bool add_table_entry(UserTable& table, int phase, const char* text, const char* mime, const char* visibility,
                     std::uint32_t flags)
{
    if (phase == 0) {
        return add_path(table, text, flags);
    }
    if (phase == 1) {
        return add_names(table, text, mime, visibility);
    }
    return true;
}

void make_array_name(char* path)
{
    std::size_t n = std::strlen(path);
    for (std::size_t i = n; i > 0; --i) {
        char c = path[i - 1];
        path[i] = (c == '?' || c == '/' || c == '\\') ? '_' : c;
    }
    path[0] = '_';
    path[n + 1] = '\0';
    // Only the last full stop cuts; a name without one keeps its whole text.
    for (std::size_t i = n + 1; i-- > 1;) {
        if (path[i] == '.') {
            path[i] = '\0';
            break;
        }
    }
    // What is left becomes an identifier: it starts with '_', and every byte
    // an identifier cannot hold (- + @ blanks, bytes above 0x7F) is '_'.
    make_identifier_bytes(path);
}

void write_user_file_table(const UserTable& table, OutFile& c_source)
{
    out_put(c_source, TABLE_HEAD);
    out_put(c_source, table.text.data(), table.text_length);
    out_put(c_source, TABLE_END);
}
