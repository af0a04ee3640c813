#include "io/depfile.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "io/file_access.hpp"
#include "io/out_file.hpp"
#include "io/staged_outputs.hpp"

namespace {

constexpr std::size_t SYSTEM_PATH_SIZE = 4096;  // the longest path the systems accept, with its NUL
constexpr std::size_t JOINED_SIZE = 2 * SYSTEM_PATH_SIZE;  // working directory, slash, relative name

// Bytes of the file not yet written: at most one name, every byte escaped,
// with the separators around it.
struct Pending {
    std::array<char, 2 * JOINED_SIZE + 16> bytes{};
    std::size_t used = 0;
};

void put(Pending& pending, char c)
{
    pending.bytes[pending.used++] = c;
}

void put(Pending& pending, std::string_view text)
{
    std::memcpy(pending.bytes.data() + pending.used, text.data(), text.size());
    pending.used += text.size();
}

bool flush(Pending& pending, int fd)
{
    bool written = write_all(fd, pending.bytes.data(), pending.used);
    pending.used = 0;
    return written;
}

std::string_view name_at(const DepfileList& list, std::uint16_t start)
{
    return list.names.data() + start;
}

bool is_absolute(std::string_view name)
{
#ifdef _WIN32
    // A drive letter or a backslash starts a name that needs no folder in front.
    if ((name.size() >= 2 && name[1] == ':') || name.starts_with('\\')) {
        return true;
    }
#endif
    return name.starts_with('/');
}

// A relative name gets the working directory in front, so that a build tool
// reading the file from another folder finds the file. Its leading "." and
// ".." are settled against that directory: getcwd gives it without symbolic
// links, so dropping a component for ".." names the very file the run opened,
// and a target reads as the build spells it (Make's abspath does the same).
std::string_view full_name(std::string_view name, const char* cwd, std::array<char, JOINED_SIZE>& joined)
{
    if (is_absolute(name)) {
        return name;
    }
    std::string_view base(cwd);
    if (base.ends_with('/')) {
        base.remove_suffix(1);  // the root: "" stands for it below
    }
    while (!name.empty()) {
        // Prefixes and suffixes by hand rather than substr: nothing here can be out of
        // range, and substr would pull the C++ runtime's exception support
        // into a program that otherwise needs only the C library.
        std::size_t slash = name.find('/');
        std::string_view part(name.data(), slash == std::string_view::npos ? name.size() : slash);
        if (part == "..") {
            std::size_t cut = base.rfind('/');
            base = std::string_view(base.data(), cut == std::string_view::npos ? 0 : cut);
        } else if (!part.empty() && part != ".") {
            break;
        }
        name.remove_prefix(slash == std::string_view::npos ? name.size() : slash + 1);
    }
    std::memcpy(joined.data(), base.data(), base.size());
    joined[base.size()] = '/';
    std::memcpy(joined.data() + base.size() + 1, name.data(), name.size());
    return {joined.data(), base.size() + 1 + name.size()};
}

// GNU Make's quoting, which Ninja reads the same way: a blank or '#' or ':'
// gets a backslash and the backslashes right before a blank are doubled;
// '$' is written "$$". What the two read differently is refused beforehand
// (unreadable_byte).
void put_escaped(Pending& pending, std::string_view name)
{
    std::size_t backslashes = 0;
    for (char c : name) {
        if (c == ' ' || c == '#' || c == ':') {
            for (std::size_t i = 0; i < backslashes; ++i) {
                put(pending, '\\');
            }
            put(pending, '\\');
        } else if (c == '$') {
            put(pending, '$');
        }
        put(pending, c);
        backslashes = c == '\\' ? backslashes + 1 : 0;
    }
}

// The first byte of name that Make and Ninja cannot both read back as
// written, or 0. Ninja ends a name at a control byte and at each of
// "&'*;<>?^`| (no escape brings them in); Make reads '=' as an assignment,
// '%' as a pattern (a prerequisite is also a target, of its empty rule), '['
// as a wildcard and a name ending in ')' as an archive member; before '#',
// ':' and at the end of a name Ninja keeps the backslashes that Make halves.
// A line end is refused by the same rule.
unsigned char unreadable_byte(std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        bool backslash_before_mark = c == '\\' && (i + 1 == name.size() || name[i + 1] == '#' || name[i + 1] == ':');
        if (c < 0x20 || c == 0x7F || std::strchr("\"&'*;<>?^`|=%[", c) != nullptr || backslash_before_mark) {
            return c;
        }
    }
    return name.ends_with(')') ? ')' : 0;
}

// The text compilers write: targets, a colon, one prerequisite a line behind
// backslash continuations; then an empty rule for each prerequisite after the
// first, so that Make does not stop when a file that a run read is gone
// (deleted and dropped from the control file): it makes the output again.
bool write_rules(const DepfileList& list, const char* cwd, int fd)
{
    Pending pending;
    std::array<char, JOINED_SIZE> joined{};
    auto put_name = [&](std::uint16_t start) { put_escaped(pending, full_name(name_at(list, start), cwd, joined)); };
    for (std::size_t i = 0; i < list.target_count; ++i) {
        put(pending, i > 0 ? " " : "");
        put_name(list.targets[i]);
        if (!flush(pending, fd)) {
            return false;
        }
    }
    put(pending, ':');
    for (std::size_t i = 0; i < list.prerequisite_count; ++i) {
        put(pending, " \\\n ");
        put_name(list.prerequisites[i]);
        if (!flush(pending, fd)) {
            return false;
        }
    }
    put(pending, '\n');
    for (std::size_t i = 1; i < list.prerequisite_count; ++i) {
        put_name(list.prerequisites[i]);
        put(pending, ":\n");
        if (!flush(pending, fd)) {
            return false;
        }
    }
    return flush(pending, fd);
}

// Setting the variable to a file of the run would have the rename replace it.
bool names_a_file_of_the_run(const DepfileList& list)
{
    FileIdentity depfile = identity_of_path(list.path);
    auto same = [&](std::uint16_t start) { return same_identity(depfile, identity_of_path(name_at(list, start).data())); };
    for (std::size_t i = 0; i < list.target_count; ++i) {
        if (same(list.targets[i])) {
            return true;
        }
    }
    for (std::size_t i = 0; i < list.prerequisite_count; ++i) {
        if (same(list.prerequisites[i])) {
            return true;
        }
    }
    return false;
}

bool refuse(const DepfileList& list, const char* reason)
{
    std::fprintf(stderr, "dependency file %s not written: %s\n", list.path, reason);
    return false;
}

// Every name as it will be written, checked before anything is: false after
// a message naming the file and the byte that cannot be written.
bool names_readable(const DepfileList& list, const char* cwd)
{
    std::array<char, JOINED_SIZE> joined{};
    for (std::size_t start = 0; start < list.used; start += std::strlen(list.names.data() + start) + 1) {
        std::string_view name = name_at(list, static_cast<std::uint16_t>(start));
        if (cwd == nullptr && !is_absolute(name)) {
            return refuse(list, "the working directory is unknown");
        }
        unsigned char c = unreadable_byte(full_name(name, cwd, joined));
        if (c != 0) {
            bool shown = c >= 0x20 && c != 0x7F;
            std::fprintf(stderr,
                         "dependency file %s not written: %s holds the byte 0x%02X %s%c%s, which Make and Ninja "
                         "cannot both read\n",
                         list.path, name.data(), c, shown ? "'" : "", shown ? c : '.', shown ? "'" : "");
            return false;
        }
    }
    return true;
}

}  // namespace

void depfile_start(DepfileList& list, const char* path)
{
    list.path = path != nullptr && path[0] != '\0' ? path : nullptr;
    list.used = 0;
    list.target_count = 0;
    list.prerequisite_count = 0;
    list.lost = false;
}

bool depfile_add(DepfileList& list, DepRole role, std::string_view name)
{
    if (list.path == nullptr) {
        return true;
    }
    bool target = role == DepRole::target;
    std::uint16_t* starts = target ? list.targets.data() : list.prerequisites.data();
    std::size_t& count = target ? list.target_count : list.prerequisite_count;
    for (std::size_t i = 0; i < count; ++i) {
        if (name_at(list, starts[i]) == name) {
            return true;
        }
    }
    std::size_t capacity = target ? list.targets.size() : list.prerequisites.size();
    if (count == capacity || name.size() >= SYSTEM_PATH_SIZE || name.size() + 1 > list.names.size() - list.used ||
        name.find('\0') != std::string_view::npos) {
        list.lost = true;
        return false;
    }
    starts[count++] = static_cast<std::uint16_t>(list.used);
    std::memcpy(list.names.data() + list.used, name.data(), name.size());
    list.used += name.size();
    list.names[list.used++] = '\0';
    return true;
}

bool depfile_write(const DepfileList& list)
{
    if (list.path == nullptr) {
        return true;
    }
    if (list.lost) {
        return refuse(list, "the run has more files than it holds");
    }
    if (names_a_file_of_the_run(list)) {
        return refuse(list, "it is a file the run reads or writes");
    }
    std::array<char, SYSTEM_PATH_SIZE> cwd_buffer{};
    const char* cwd = ::getcwd(cwd_buffer.data(), cwd_buffer.size());
    if (!names_readable(list, cwd)) {
        return false;
    }
    // Put in place with the run's other outputs when the run succeeds.
    int fd = stage_output(list.path);
    if (fd < 0) {
        return refuse(list, std::strerror(errno));
    }
    bool written = write_rules(list, cwd, fd);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    return written || refuse(list, std::strerror(error));
}
