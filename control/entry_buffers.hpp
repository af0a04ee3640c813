// The per-entry buffers of the control-file loop. Each size includes the
// terminating NUL and is a limit that a control file must respect.
#pragma once

#include <array>
#include <cstddef>

constexpr std::size_t PATH_BUFFER_SIZE = 128;  // the array name made from a path is one longer
constexpr std::size_t MIME_BUFFER_SIZE = 32;
constexpr std::size_t VISIBILITY_BUFFER_SIZE = 128;

// The largest file an entry (or the single-file mode) converts; also the
// size of a run's input buffer.
constexpr std::size_t INPUT_BUFFER_SIZE = 1048576;

// What the parser delivers for one entry, set afresh for every entry.
struct EntryBuffers {
    std::array<char, PATH_BUFFER_SIZE> path{};  // as written, question marks kept; then the array name
    std::array<char, MIME_BUFFER_SIZE> mime{};
    std::array<char, VISIBILITY_BUFFER_SIZE> visibility{};
};
