#include "filecreate/control_loop.hpp"

#include <array>
#include <cstdio>
#include <unistd.h>

#include "control/entry_row.hpp"
#include "filecreate/diagnostics.hpp"
#include "io/file_access.hpp"
#include "io/staged_outputs.hpp"
#include "filecreate/messages.hpp"

int collection_open_control(FileCreateRun& run, const char* control_path)
{
    run.control_path = control_path;
    int fd = open_input(control_path);
    if (fd < 0) {
        explain_not_opened("control file", control_path);
        std::printf("%s", MSG_CONTROL_NOT_FOUND);
        return EXIT_CONTROL_FILE_MISSING;
    }
    control_attach(run.control, fd);
    depfile_add(run.deps, DepRole::prerequisite, control_path);
    return EXIT_OK;
}

bool collection_next_entry(FileCreateRun& run, std::span<const int> output_fds, int& in_fd, int& code)
{
    in_fd = -1;
    code = EXIT_OK;
    ControlEntry next = next_control_entry(run.control, run.settings, run.flags, run.entry);
    if (warn_control_notes(run) && run.strict) {
        if (next.status == EntryStatus::entry) {
            ::close(next.fd);
        }
        code = strict_warning_code(run);
        return false;
    }
    switch (next.status) {
    case EntryStatus::end_of_list:
        return false;
    case EntryStatus::over_capacity:
        print_over_capacity(next.limit, next.line);
        code = EXIT_CAPACITY;
        return false;
    case EntryStatus::file_missing:
        explain_entry_not_opened(run, run.entry.path.data(), next.error);
        std::printf(MSG_ENTRY_NOT_FOUND, run.file_number);
        code = EXIT_ENTRY_FILE_MISSING;
        return false;
    case EntryStatus::entry:
        break;
    }
    for (int out_fd : output_fds) {
        if (opens_output(next.fd, out_fd)) {
            ::close(next.fd);
            std::printf(MSG_ENTRY_IS_OUTPUT, run.file_number);
            code = EXIT_ENTRY_FILE_MISSING;
            return false;
        }
    }
    // The dependency file names the file as opened: '?' in a name stands for '-'.
    const std::array<char, PATH_BUFFER_SIZE> opened = opened_name(run.entry);
    if (!depfile_add(run.deps, DepRole::prerequisite, opened.data())) {
        ::close(next.fd);
        std::printf(MSG_ENTRY_REFUSED, run.file_number, WHY_TOO_MANY_FILES);
        code = EXIT_CAPACITY;
        return false;
    }
    in_fd = next.fd;
    return true;
}

void collection_entry_done(FileCreateRun& run)
{
    entry_done(run.flags);
    ++run.file_number;
}
