/* CRC-16/XMODEM: polynomial 0x1021, most significant bit first, no final
 * XOR; started at 0 it is the upload header's check (0x31C3 over the nine
 * digits "123456789"), and its register is the key stream. */
#ifndef KORVANE_CRC16_H
#define KORVANE_CRC16_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Register crc continued over one byte. */
uint16_t korvane_crc16_byte(uint16_t crc, unsigned char byte);

/* Register crc continued over count bytes; chained calls give the CRC of the
 * joined runs. */
uint16_t korvane_crc16(uint16_t crc, const unsigned char *bytes, size_t count);

#ifdef __cplusplus
}
#endif

#endif
