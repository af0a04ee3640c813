// CRC-16 with the CCITT polynomial 0x1021, most significant bit first, no
// final XOR; started at 0 it is CRC-16/XMODEM.
#pragma once

#include <array>
#include <cstdint>

// Continues register crc over count bytes and returns the new register.
std::uint16_t crc16_update(std::uint16_t crc, const unsigned char* bytes, std::uint32_t count);

// The same for one byte, by the five shift-and-XOR steps without a table: the
// reference the table-driven form above is tested against.
std::uint16_t crc16_update_byte(std::uint16_t crc, unsigned char byte);

// Register after one byte by table lookup; the key stream's hot step.
extern const std::array<std::uint16_t, 256> CRC16_TABLE;
inline std::uint16_t crc16_step(std::uint16_t crc, unsigned char byte)
{
    return static_cast<std::uint16_t>((crc << 8) ^ CRC16_TABLE[(crc >> 8) ^ byte]);
}
