/* CRC-16/XMODEM without a table: five shifts and XORs a byte, which equal the
 * eight conditional steps of the bitwise definition for every register and
 * byte (the host tests prove it). Small enough for a boot loader. */
#include "korvane/crc16.h"

uint16_t korvane_crc16_byte(uint16_t crc, unsigned char byte)
{
    crc = (uint16_t)(crc >> 8 | crc << 8);
    crc = (uint16_t)(crc ^ byte);
    crc = (uint16_t)(crc ^ (crc & 0xFFu) >> 4);
    crc = (uint16_t)(crc ^ crc << 12);
    crc = (uint16_t)(crc ^ (crc & 0xFFu) << 5);
    return crc;
}

uint16_t korvane_crc16(uint16_t crc, const unsigned char *bytes, size_t count)
{
    while (count != 0u) {
        crc = korvane_crc16_byte(crc, *bytes++);
        --count;
    }
    return crc;
}
