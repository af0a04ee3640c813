#include "filecreate/first_pass.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unistd.h>

#include "control/entry_row.hpp"
#include "io/file_access.hpp"
#include "filecreate/messages.hpp"

namespace {

constexpr std::size_t MAX_OUTPUTS = 2;  // -f: the image and the C source

bool is_an_output(const FileIdentity& entry, std::span<const FileIdentity> outputs)
{
    return std::any_of(outputs.begin(), outputs.end(),
                       [&](const FileIdentity& output) { return same_identity(entry, output); });
}

}  // namespace

int refuse_entries_that_are_outputs(FileCreateRun& run, std::span<const char* const> output_paths)
{
    std::array<FileIdentity, MAX_OUTPUTS> outputs{};
    std::size_t count = std::min(output_paths.size(), outputs.size());
    for (std::size_t i = 0; i < count; ++i) {
        outputs[i] = identity_of_path(output_paths[i]);
    }
    const auto existing = std::span(outputs).first(count);
    // In a fresh build no output exists yet, so no entry can be one.
    if (std::none_of(existing.begin(), existing.end(), [](const FileIdentity& id) { return id.known; })) {
        return EXIT_OK;
    }
    const int fd = run.control.fd;
    const off_t start = ::lseek(fd, 0, SEEK_CUR);
    if (start < 0) {
        return EXIT_OK;
    }
    // A state of its own, so that the run proper starts as if this pass had
    // not been made: same definitions, same per-entry options, same numbers.
    ControlFile& control = run.first_pass_control;
    control_attach(control, fd);
    control.first_pass = true;
    std::uint32_t flags = OPT_WRITE_BANNER;
    int code = EXIT_OK;
    for (int number = 1; code == EXIT_OK; ++number) {
        ControlEntry next = next_control_entry(control, run.first_pass_settings, flags, run.first_pass_entry);
        if (next.status == EntryStatus::end_of_list || next.status == EntryStatus::over_capacity) {
            break;  // the run proper stops at the same place and says why
        }
        entry_done(flags);
        const std::array<char, PATH_BUFFER_SIZE> opened = opened_name(run.first_pass_entry);
        if (is_an_output(identity_of_input(opened.data()), existing)) {
            std::printf(MSG_ENTRY_IS_OUTPUT, number);
            code = EXIT_ENTRY_FILE_MISSING;
        }
    }
    if (::lseek(fd, start, SEEK_SET) != start) {
        std::printf("%s", MSG_CONTROL_NOT_FOUND);  // cannot happen to a file that could seek before
        return EXIT_CONTROL_FILE_MISSING;
    }
    return code;
}
