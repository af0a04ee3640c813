/* Start of the QEMU mps2-an385 firmware (Cortex-M3): the vector table, the
 * copy of initialised data to RAM, zeroed .bss, main, and the exit through
 * semihosting, whose status ends QEMU. No C library. */
#include <stdint.h>

#include "semihosting.h"

extern uint32_t __data_load[], __data_start[], __data_end[], __bss_start[], __bss_end[], __stack_top[];
int main(void);

void reset_handler(void)
{
    uint32_t *from = __data_load;
    uint32_t *to;
    for (to = __data_start; to < __data_end;) {
        *to++ = *from++;
    }
    for (to = __bss_start; to < __bss_end;) {
        *to++ = 0;
    }
    semihosting_exit(main());
}

/* Any fault ends the run with a status the test sees. */
void fault_handler(void)
{
    semihosting_write("fault\n");
    semihosting_exit(99);
}

typedef void (*vector)(void);

__attribute__((section(".vectors"), used)) static const vector vectors[16] = {
    (vector)(uintptr_t)__stack_top, reset_handler, fault_handler, fault_handler, fault_handler, fault_handler,
    fault_handler, 0, 0, 0, 0, fault_handler, fault_handler, 0, fault_handler, fault_handler,
};
