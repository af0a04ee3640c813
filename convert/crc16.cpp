#include "crc16.hpp"

#include <array>

std::uint16_t crc16_update_byte(std::uint16_t crc, unsigned char byte)
{
    unsigned r = static_cast<unsigned>((crc >> 8) | (crc << 8)) & 0xFFFF;
    r ^= byte;
    r ^= (r & 0xFF) >> 4;
    r ^= (r << 12) & 0xFFFF;
    r ^= ((r & 0xFF) << 5) & 0xFFFF;
    return static_cast<std::uint16_t>(r);
}

namespace {

// Register after one byte when the register's high byte XOR the input is i
// and the low byte is 0; the low byte then only shifts up (linearity).
constexpr std::array<std::uint16_t, 256> make_table()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = i << 8;
        for (int bit = 0; bit < 8; ++bit) {
            r = (r & 0x8000) != 0 ? ((r << 1) ^ 0x1021) : (r << 1);
        }
        table[i] = static_cast<std::uint16_t>(r & 0xFFFF);
    }
    return table;
}
constexpr auto TABLE = make_table();

}  // namespace

std::uint16_t crc16_update(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        crc = static_cast<std::uint16_t>((crc << 8) ^ TABLE[(crc >> 8) ^ bytes[i]]);
    }
    return crc;
}
