#include "inspect/picture_names.hpp"

namespace {

// FNV-1a, with 0 kept free to mark an empty slot.
std::uint64_t name_hash(std::string_view name)
{
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
    }
    return hash == 0 ? 1 : hash;
}

// Open addressing with linear probing; true when hash was not there yet.
bool insert(std::vector<std::uint64_t>& slots, std::uint64_t hash)
{
    std::size_t mask = slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        if (slots[at] == hash) {
            return false;
        }
        if (slots[at] == 0) {
            slots[at] = hash;
            return true;
        }
    }
}

}  // namespace

bool take_picture_name(PictureNames& names, std::string_view name)
{
    if (2 * (names.used + 1) > names.slots.size()) {
        std::vector<std::uint64_t> larger(names.slots.empty() ? 64 : 2 * names.slots.size(), 0);
        for (std::uint64_t hash : names.slots) {
            if (hash != 0) {
                insert(larger, hash);
            }
        }
        names.slots.swap(larger);
    }
    bool fresh = insert(names.slots, name_hash(name));
    names.used += fresh ? 1 : 0;
    return fresh;
}
