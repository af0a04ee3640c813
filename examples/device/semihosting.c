#include "semihosting.h"

#define SYS_WRITE0 0x04u
#define SYS_EXIT_EXTENDED 0x20u
#define ADP_STOPPED_APPLICATION_EXIT 0x20026u

static uint32_t call(uint32_t operation, const void *argument)
{
    register uint32_t r0 __asm__("r0") = operation;
    register const void *r1 __asm__("r1") = argument;
    __asm__ volatile("bkpt 0xAB" : "+r"(r0) : "r"(r1) : "memory");
    return r0;
}

void semihosting_write(const char *text)
{
    call(SYS_WRITE0, text);
}

void semihosting_exit(int status)
{
    /* The extended exit carries the status, which QEMU ends with. */
    const uint32_t block[2] = {ADP_STOPPED_APPLICATION_EXIT, (uint32_t)status};
    call(SYS_EXIT_EXTENDED, block);
    for (;;) {
    }
}

void print_hex(uint32_t value, unsigned digits)
{
    char text[11] = "0x";
    unsigned i;
    for (i = 0; i < digits; ++i) {
        text[2 + i] = "0123456789ABCDEF"[(value >> (4u * (digits - 1u - i))) & 0xFu];
    }
    text[2 + digits] = '\0';
    semihosting_write(text);
}

void print_decimal(uint32_t value)
{
    char text[11];
    unsigned at = sizeof text - 1u;
    text[at] = '\0';
    do {
        text[--at] = (char)('0' + value % 10u);
        value /= 10u;
    } while (value != 0u);
    semihosting_write(text + at);
}
