#include "formats/white_space.hpp"

namespace {

constexpr bool is_white_space(unsigned char b)
{
    return b == 0x0D || b == 0x0A || b == 0x20 || b == 0x09;
}

}  // namespace

std::size_t squeeze_white_space(const unsigned char* src, std::size_t count, unsigned char* dest, bool& after_space)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char b = src[i];
        bool space = is_white_space(b);
        if (space && after_space) {
            continue;
        }
        after_space = space;
        dest[kept++] = b;
    }
    return kept;
}
