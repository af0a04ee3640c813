// The control-file loop shared by the file-collection (-f) and the
// bitmap-collection (-fb) modes, and the -f run itself.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "control_file.hpp"
#include "depfile.hpp"
#include "run_flags.hpp"

struct CollectionRun {
    ControlFile control;
    std::array<char, PATH_BUFFER_SIZE> path{};
    std::array<char, MIME_BUFFER_SIZE> mime{};
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};
    std::uint32_t flags = OPT_WRITE_BANNER;
    int file_number = 1;
    DepfileList deps;  // the control file, every entry as opened, the outputs
};

// Writes the dependency file asked for (if any) of a run that has succeeded.
// Returns 0, or exit code 4 after the message when it cannot be written.
int write_run_depfile(const DepfileList& deps);

// The same for a run that made output_path from input_path alone.
int write_single_depfile(const char* depfile_path, const char* output_path, const char* input_path);

// Opens the control file. Prints the message and returns exit code 1 when it
// cannot be opened (or path is missing), else 0.
int collection_open_control(CollectionRun& run, const char* control_path);

// Fetches the next entry. Returns 0 with in_fd set when an entry is ready; -1
// at the end of the control file; otherwise an exit code (2 or 10) after
// printing its message. An entry whose file is one of the run's outputs
// (compared by identity against output_fds) is refused with code 2.
int collection_next_entry(CollectionRun& run, std::span<const int> output_fds, int& in_fd);

// After an entry: clear the per-entry parameter-name option, count the entry.
void collection_entry_done(CollectionRun& run);

// The whole -f mode; argv as given to the program.
// depfile_path: the dependency file to write on success, or nullptr.
int run_file_collection(int argc, char** argv, const char* depfile_path);
