#include "filecreate/diagnostics.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "control/control_file.hpp"
#include "filecreate/messages.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"

namespace {

// Standard output goes first, so that where both streams share a terminal or
// a log the lines stand in the order they were printed.
[[gnu::format(printf, 1, 2)]] void print_on_stderr(const char* format, ...)
{
    std::fflush(stdout);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

const char* control_path(const FileCreateRun& run)
{
    return run.control_path != nullptr ? run.control_path : "";
}

// The entry as opened: a question mark stands for '-' on disk.
std::array<char, PATH_BUFFER_SIZE> as_opened(const char* path)
{
    std::array<char, PATH_BUFFER_SIZE> opened{};
    std::strncpy(opened.data(), path, opened.size() - 1);
    std::replace(opened.begin(), opened.end(), '?', '-');
    return opened;
}

bool is_defined(const ControlSettings& settings, const char* name)
{
    for (std::size_t i = 0; i < settings.definition_count; ++i) {
        if (std::strcmp(settings.definitions[i].name.data(), name) == 0) {
            return true;
        }
    }
    return false;
}

// The identifiers of the table in order: the MIME type, then the visibility
// of each row.
const char* identifier(const UserTable& table, std::size_t k)
{
    const TableRow& row = table.rows[k / 2];
    return k % 2 == 0 ? row.mime.data() : row.visibility.data();
}

// A file of the command line: the system's reason, or the missing argument.
void explain_file(const char* verb, const char* kind, const char* path, int error)
{
    if (path == nullptr) {
        print_on_stderr("KorvaneFileCreate: no %s given\n", kind);
    } else {
        print_on_stderr("KorvaneFileCreate: cannot %s %s %s: %s\n", verb, kind, path, std::strerror(error));
    }
}

}  // namespace

void explain_not_opened(const char* kind, const char* path)
{
    explain_file("open", kind, path, errno);
}

void explain_not_read(const char* kind, const char* path)
{
    explain_file("read", kind, path, errno);
}

void explain_not_created(const char* kind, const char* path)
{
    explain_file("create", kind, path, errno);
}

void explain_entry_not_opened(const FileCreateRun& run, const char* path, int error)
{
    print_on_stderr("KorvaneFileCreate: cannot open %s: %s (%s, line %u)\n", as_opened(path).data(),
                    std::strerror(error), control_path(run), run.control.line);
}

void explain_entry_not_read(const FileCreateRun& run, const char* path)
{
    int error = errno;
    print_on_stderr("KorvaneFileCreate: cannot read %s: %s (%s, line %u)\n", as_opened(path).data(),
                    std::strerror(error), control_path(run), run.control.line);
}

void explain_c_source_not_created(const char* image_path, const char* c_source_name, int image_fd)
{
    int error = errno;
    if (std::strcmp(image_path, c_source_name) == 0) {
        print_on_stderr("KorvaneFileCreate: the C source made from the image name %s would be the image itself; "
                        "give the image another extension than .c\n",
                        image_path);
    } else if (path_is_output(c_source_name, image_fd)) {
        print_on_stderr("KorvaneFileCreate: the C source %s is the image %s under another name\n", c_source_name,
                        image_path);
    } else {
        errno = error;
        explain_not_created("C source", c_source_name);
    }
}

void note_entry_line(FileCreateRun& run)
{
    if (run.table.row_count < run.entry_lines.size()) {
        run.entry_lines[run.table.row_count] = run.control.line;
    }
}

int strict_warning_code(const FileCreateRun& run)
{
    if (!run.strict) {
        return EXIT_OK;
    }
    std::printf("%s", MSG_STRICT_WARNING);
    return EXIT_STRICT_WARNING;
}

bool warn_undefined_identifiers(const FileCreateRun& run)
{
    bool any = false;
    const UserTable& table = run.table;
    for (std::size_t k = 0; k < 2 * table.row_count; ++k) {
        const char* name = identifier(table, k);
        bool warned = false;
        for (std::size_t j = 0; j < k && !warned; ++j) {
            warned = std::strcmp(identifier(table, j), name) == 0;
        }
        if (!warned && !is_defined(run.settings, name)) {
            print_on_stderr("KorvaneFileCreate: warning: %s identifier %s is never defined, so the image records 0 "
                            "for it while the C table keeps the name (%s, line %u)\n",
                            k % 2 == 0 ? "MIME-type" : "visibility", name, control_path(run), run.entry_lines[k / 2]);
            any = true;
        }
    }
    return any;
}

void warn_array_renamed(const FileCreateRun& run, std::string_view name, const char* entry_path,
                        const char* renamed)
{
    print_on_stderr("KorvaneFileCreate: warning: array name %.*s of %s is taken by an earlier array, so it is named %s "
                    "(%s, line %u)\n",
                    static_cast<int>(name.size()), name.data(), entry_path, renamed, control_path(run),
                    run.control.line);
}

bool warn_control_notes(FileCreateRun& run)
{
    bool any = false;
    ControlNote cause{};
    NoteAt at;
    while (take_control_note(run.control.notes, cause, at)) {
        std::array<char, 320> what;
        describe_control_note(cause, at, what);
        print_on_stderr("KorvaneFileCreate: warning: %s (%s, line %u)\n", what.data(), control_path(run), at.line);
        any = true;
    }
    return any;
}

void warn_palette_not_examined(const FileCreateRun& run, const char* bitmap_path, bool from_control_file)
{
    if (!from_control_file) {
        print_on_stderr("KorvaneFileCreate: warning: palette of %s not examined (it does not follow a 40-byte header): "
                        "a light-on-dark picture needs -bmn\n",
                        bitmap_path);
        return;
    }
    print_on_stderr("KorvaneFileCreate: warning: palette of %s not examined (it does not follow a 40-byte header): "
                    "a light-on-dark picture needs -n (%s, line %u)\n",
                    as_opened(bitmap_path).data(), control_path(run), run.control.line);
}
