#include "crc16.hpp"

#include <array>
#include <cstddef>

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

// TABLES[0][i]: register after one byte when the register's high byte XOR
// the input is i and its low byte is 0 (the low byte then only shifts up, by
// linearity). TABLES[k][i]: the same followed by k zero bytes. Eight tables
// let eight bytes be folded in at once instead of one after the other.
constexpr std::array<std::array<std::uint16_t, 256>, 8> make_tables()
{
    std::array<std::array<std::uint16_t, 256>, 8> tables{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = i << 8;
        for (int bit = 0; bit < 8; ++bit) {
            r = (r & 0x8000) != 0 ? ((r << 1) ^ 0x1021) : (r << 1);
        }
        tables[0][i] = static_cast<std::uint16_t>(r & 0xFFFF);
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned prev = tables[k - 1][i];
            tables[k][i] = static_cast<std::uint16_t>(((prev << 8) & 0xFFFF) ^ tables[0][prev >> 8]);
        }
    }
    return tables;
}
constexpr auto TABLES = make_tables();

}  // namespace

const std::array<std::uint16_t, 256> CRC16_TABLE = TABLES[0];

std::uint16_t crc16_update(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count)
{
    unsigned c = crc;
    std::uint32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const unsigned char* b = bytes + i;
        c = TABLES[7][b[0] ^ (c >> 8)] ^ TABLES[6][b[1] ^ (c & 0xFF)] ^ TABLES[5][b[2]] ^ TABLES[4][b[3]] ^
            TABLES[3][b[4]] ^ TABLES[2][b[5]] ^ TABLES[1][b[6]] ^ TABLES[0][b[7]];
    }
    for (; i < count; ++i) {
        c = ((c << 8) & 0xFFFF) ^ TABLES[0][(c >> 8) ^ bytes[i]];
    }
    return static_cast<std::uint16_t>(c);
}
