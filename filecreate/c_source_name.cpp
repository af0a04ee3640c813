#include "filecreate/c_source_name.hpp"

#include <cstring>

bool derive_c_source_name(std::string_view image_name, std::array<char, C_SOURCE_NAME_SIZE>& name)
{
    std::size_t slash = image_name.find_last_of('/');
    std::size_t component = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t dot = image_name.find_last_of('.');
    std::size_t stem = (dot == std::string_view::npos || dot < component) ? image_name.size() : dot;
    if (stem + 2 >= name.size()) {
        return false;
    }
    std::memcpy(name.data(), image_name.data(), stem);
    std::memcpy(name.data() + stem, ".c", 3);
    return true;
}
