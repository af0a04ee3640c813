// A dependency file as compilers write it with -MD: the outputs of a run as
// targets, the files it read as prerequisites. Make and Ninja then learn the
// inputs of a step from the step itself instead of guessing them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Room for a collection run: its outputs, its control file and the 128 entries
// of a collection. A name from the command line is shorter than the 4096
// bytes the system accepts for a path (it has been opened or created), an
// entry shorter than the 128-byte path buffer of the control-file loop.
constexpr std::size_t DEPFILE_MAX_TARGETS = 2;
constexpr std::size_t DEPFILE_MAX_PREREQUISITES = 1 + 128;
constexpr std::size_t DEPFILE_NAME_SPACE = 128 * 128 + 3 * 4096;

enum class DepRole { target, prerequisite };

struct DepfileList {
    const char* path = nullptr;  // the file to write; nullptr: none asked for, nothing is recorded
    std::array<char, DEPFILE_NAME_SPACE> names;  // every name, each followed by a NUL
    std::size_t used = 0;
    std::array<std::uint16_t, DEPFILE_MAX_TARGETS> targets{};  // where each name starts in names
    std::array<std::uint16_t, DEPFILE_MAX_PREREQUISITES> prerequisites{};
    std::size_t target_count = 0;
    std::size_t prerequisite_count = 0;
    bool lost = false;  // a name did not fit: the file would be incomplete, so it is never written
};

// Starts a list for the file at path; a null or empty path asks for none.
void depfile_start(DepfileList& list, const char* path);

// Records a name (as the run opened or created it) once. False when the list
// is full; the name is then lost and the file will not be written. Without a
// file asked for, nothing is recorded and the result is true.
bool depfile_add(DepfileList& list, DepRole role, std::string_view name);

// Writes the file as a staged output (io/staged_outputs.hpp): it is put in
// place with the run's other outputs. Every name is escaped so that Make and
// Ninja both read it back; a name they cannot both read is refused before
// anything is written, naming the byte. True when written or when none was
// asked for; on failure the reason goes to standard error.
bool depfile_write(const DepfileList& list);
