/* Output and exit through the debugger interface that QEMU emulates. */
#ifndef SEMIHOSTING_H
#define SEMIHOSTING_H

#include <stdint.h>

void semihosting_write(const char *text);
void semihosting_exit(int status);

/* Formatting without a C library: hex with a digit count, decimal. */
void print_hex(uint32_t value, unsigned digits);
void print_decimal(uint32_t value);

#endif
