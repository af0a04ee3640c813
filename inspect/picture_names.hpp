// The file names --pbm has given in a run, so that no picture overwrites
// another. Kept as 64-bit hashes in one flat table: a C file may hold
// millions of tiny arrays, and a name costs 16 bytes here instead of a
// string of its own. Two names with one hash count as one taken name: the
// second picture then gets a number it did not need, never another's file.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

struct PictureNames {
    std::vector<std::uint64_t> slots;  // 0: free; at most half of them used
    std::size_t used = 0;
};

// Records name; false when it was taken already.
bool take_picture_name(PictureNames& names, std::string_view name);
