#include "formats/crc16.hpp"

std::uint16_t crc16_update_tables(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count)
{
    const Crc16Tables& t = CRC16_TABLES;
    unsigned c = crc;
    std::uint32_t i = 0;
    // The register is two bytes wide, so it only meets the first two bytes of
    // a block; the other fourteen go through their tables independently, and
    // the step waits on one lookup per 16 bytes instead of one per byte.
    for (; i + 16 <= count; i += 16) {
        const unsigned char* b = bytes + i;
        c = t[15][b[0] ^ (c >> 8)] ^ t[14][b[1] ^ (c & 0xFF)] ^ t[13][b[2]] ^ t[12][b[3]] ^ t[11][b[4]] ^
            t[10][b[5]] ^ t[9][b[6]] ^ t[8][b[7]] ^ t[7][b[8]] ^ t[6][b[9]] ^ t[5][b[10]] ^ t[4][b[11]] ^
            t[3][b[12]] ^ t[2][b[13]] ^ t[1][b[14]] ^ t[0][b[15]];
    }
    for (; i < count; ++i) {
        c = crc16_step(static_cast<std::uint16_t>(c), bytes[i]);
    }
    return static_cast<std::uint16_t>(c);
}

std::uint16_t crc16_update(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count)
{
    // Below a few blocks the set-up of the multiplying form costs more than it saves.
    if (count >= 256 && crc16_clmul_available()) {
        return crc16_update_clmul(crc, bytes, count);
    }
    return crc16_update_tables(crc, bytes, count);
}
