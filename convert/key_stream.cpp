#include "key_stream.hpp"

#include <cstring>

#include "crc16.hpp"

void encrypt_image(unsigned char* image, std::uint32_t count, const unsigned char* keys,
                   std::uint32_t key_count, std::uint16_t seed)
{
    std::uint16_t reg = seed;
    std::uint32_t k = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        reg = crc16_step(reg, keys[k]);
        k = k + 1 == key_count ? 0 : k + 1;
        image[i] ^= static_cast<unsigned char>(reg & 0xFF);
    }
}

void rotate_image(const unsigned char* image, std::uint32_t count, std::uint32_t rotation,
                  unsigned char* destination)
{
    std::memcpy(destination, image + (count - rotation), rotation);
    std::memcpy(destination + rotation, image, count - rotation);
}
