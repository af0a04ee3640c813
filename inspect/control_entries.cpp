#include "inspect/control_entries.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
#ifdef _WIN32
#include <direct.h>
#endif

#include "io/file_access.hpp"
#include "inspect/inspect_diagnostics.hpp"
#include "inspect/inspect_messages.hpp"
#include "filecreate/run_flags.hpp"

namespace {

// The row -f adds for the entry: its table name after the parameter-name
// rule and its identifiers. (Its array name, which the image does not hold,
// is taken as made from the path, without the suffix -f may add.)
void add_row(InspectRun& run)
{
    EntryBuffers& entry = run.entry;
    if (!add_table_entry(run.table, 0, entry.path.data(), nullptr, nullptr, run.flags)) {
        return;
    }
    std::array<char, PATH_BUFFER_SIZE + 1> array_name{};
    std::copy(entry.path.begin(), entry.path.end(), array_name.begin());
    make_array_name(array_name.data());
    add_table_entry(run.table, 1, array_name.data(), entry.mime.data(), entry.visibility.data(), run.flags);
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
    kept.opened = run.entry.path;
    std::replace(kept.opened.begin(), kept.opened.end(), '?', '-');
    add_row(run);
}

}  // namespace

int read_control_entries(InspectRun& run, const char* control_path)
{
    int fd = open_input(control_path);
    if (fd < 0) {
        explain_file_error(control_path, errno);
        std::printf(MSG_CONTROL_NOT_FOUND, control_path);
        return INSPECT_INPUT_FAILED;
    }
    // Entries are opened from the working folder, as -f opens them.
    control_attach(run.control, fd);
    for (;;) {
        ControlEntry next = next_control_entry(run.control, run.settings, run.flags, run.entry);
        if (next.status == EntryStatus::end_of_list) {
            return INSPECT_OK;
        }
        if (next.status == EntryStatus::over_capacity) {
            return INSPECT_NOT_READABLE;  // the parser has said which text does not fit
        }
        keep_entry(run, next.status == EntryStatus::entry ? next.fd : -1, next.error);
        // As in the control-file loop of -f: -? holds for one entry only.
        run.flags &= ~OPT_PARAMETER_NAME;
    }
}
