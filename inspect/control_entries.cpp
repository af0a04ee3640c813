#include "inspect/control_entries.hpp"

#include <cerrno>
#include <array>
#include <cstdio>
#include <string>
#include <unistd.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include "io/file_access.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "control/entry_row.hpp"
#include "control/run_flags.hpp"

namespace {

void print_over_capacity(const ControlEntry& next)
{
    switch (next.limit) {
    case ControlLimit::definitions: std::printf(MSG_TOO_MANY_DEFINITIONS, next.line); break;
    case ControlLimit::definition_name: std::printf(MSG_DEFINITION_NAME_TOO_LONG, next.line); break;
    case ControlLimit::number: std::printf(MSG_NUMBER_TOO_LONG, next.line); break;
    case ControlLimit::path: std::printf(MSG_PATH_TOO_LONG, next.line); break;
    case ControlLimit::mime: std::printf(MSG_MIME_TOO_LONG, next.line); break;
    case ControlLimit::visibility: std::printf(MSG_VISIBILITY_TOO_LONG, next.line); break;
    case ControlLimit::none: break;
    }
}

void keep_entry(InspectRun& run, int fd, int error)
{
    ++run.entries_listed;
    if (run.entry_count == MAX_FILES) {
        if (fd >= 0) {
            ::close(fd);  // more files than an image holds: counted, not compared
        }
        return;
    }
    ControlFileEntry& kept = run.entries[run.entry_count++];
    kept.fd = fd;
    kept.error = error;
    kept.squeezed = (run.flags & OPT_SQUEEZE_SPACE) != 0;
    kept.opened = opened_name(run.entry);
    // The row -f adds for the entry. Its array name, which the image does
    // not hold, is taken as made, without the suffix -f may add.
    add_entry_row(run.table, run.entry, run.flags, nullptr, 0);
}

// The control file's text read otherwise than written, as KorvaneFileCreate
// warns of it. True when there was any.
bool warn_control_notes(InspectRun& run, const char* control_path)
{
    bool any = false;
    ControlNote cause{};
    NoteAt at;
    while (take_control_note(run.control.notes, cause, at)) {
        std::array<char, 320> what;
        describe_control_note(cause, at, what);
        std::fprintf(stderr, "KorvaneInspect: warning: %s (%s, line %u)\n", what.data(), control_path, at.line);
        any = true;
    }
    return any;
}

}  // namespace

int read_control_entries(InspectRun& run, const char* control_path)
{
    int fd = open_input(control_path);
    if (fd < 0) {
        explain_file_error(control_path, errno);
        std::printf(MSG_CONTROL_NOT_FOUND, control_path);
        return EXIT_INPUT_FAILED;
    }
    // Entries are opened from the working folder, as -f opens them.
    control_attach(run.control, fd);
    for (;;) {
        ControlEntry next = next_control_entry(run.control, run.settings, run.flags, run.entry);
        if (warn_control_notes(run, control_path)) {
            if (int code = strict_warning_code(run); code != EXIT_OK) {
                return code;
            }
        }
        if (next.status == EntryStatus::end_of_list) {
            return EXIT_OK;
        }
        if (next.status == EntryStatus::over_capacity) {
            print_over_capacity(next);
            return EXIT_NOT_READABLE;
        }
        keep_entry(run, next.status == EntryStatus::entry ? next.fd : -1, next.error);
        entry_done(run.flags);
    }
}
