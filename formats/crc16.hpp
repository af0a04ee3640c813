// CRC-16 with the CCITT polynomial 0x1021, most significant bit first, input
// and output not reflected, no final XOR. Started at 0 it is CRC-16/XMODEM,
// whose check value over the nine digits "123456789" is 0x31C3. The upload
// header carries two of these, and the key stream is made of its register.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::uint16_t CRC16_POLYNOMIAL = 0x1021;

// The definition, a bit at a time: the byte enters at the top of the
// register, and every 1 shifted out of bit 15 folds the polynomial back in.
constexpr std::uint16_t crc16_bitwise(std::uint16_t crc, unsigned char byte)
{
    unsigned r = crc ^ (static_cast<unsigned>(byte) << 8);
    for (int bit = 0; bit < 8; ++bit) {
        r = (r & 0x8000) != 0 ? (r << 1) ^ CRC16_POLYNOMIAL : r << 1;
    }
    return static_cast<std::uint16_t>(r);
}

// CRC16_TABLES[k][i] is the register, started at 0, after byte i followed by
// k zero bytes. Every entry is made by the bitwise definition, so the tables
// cannot drift from it. Table k lets a byte be folded in k bytes ahead of the
// end of a block, which is how crc16_update takes 16 bytes per step.
constexpr std::size_t CRC16_TABLE_COUNT = 16;
using Crc16Tables = std::array<std::array<std::uint16_t, 256>, CRC16_TABLE_COUNT>;

constexpr Crc16Tables make_crc16_tables()
{
    Crc16Tables tables{};
    for (unsigned i = 0; i < 256; ++i) {
        tables[0][i] = crc16_bitwise(0, static_cast<unsigned char>(i));
        for (std::size_t k = 1; k < CRC16_TABLE_COUNT; ++k) {
            tables[k][i] = crc16_bitwise(tables[k - 1][i], 0);
        }
    }
    return tables;
}

inline constexpr Crc16Tables CRC16_TABLES = make_crc16_tables();

// One byte by one table lookup. The register's low byte only moves up: by
// linearity it needs no table.
constexpr std::uint16_t crc16_step(std::uint16_t crc, unsigned char byte)
{
    return static_cast<std::uint16_t>((crc << 8) ^ CRC16_TABLES[0][(crc >> 8) ^ byte]);
}

// Continues register crc over count bytes and returns the new register; a
// count of 0 returns crc. Chaining calls gives the CRC of the joined runs.
// Long runs go through crc16_update_clmul where the processor has it.
std::uint16_t crc16_update(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count);

// The same with the tables alone, 16 bytes a step.
std::uint16_t crc16_update_tables(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count);

// True when this processor has carry-less multiplication (x86 PCLMULQDQ with
// SSSE3); false on every other machine.
bool crc16_clmul_available();

// The same with carry-less multiplication, 64 bytes a step; only to be called
// when crc16_clmul_available() is true.
std::uint16_t crc16_update_clmul(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count);
