/* A small Cortex-M firmware for the converter's tests: a vector table,
   start-up code that copies .data and clears .bss, constants, and a table
   whose size the build sets (BULK_WORDS) to make large images. */
#include <stdint.h>

#ifndef BULK_WORDS
#define BULK_WORDS 64
#endif

extern uint32_t data_start[], data_end[], data_load[], bss_start[], bss_end[], stack_top[];
int main(void);

void reset_handler(void)
{
    const uint32_t* from = data_load;
    for (uint32_t* to = data_start; to < data_end;) {
        *to++ = *from++;
    }
    for (uint32_t* to = bss_start; to < bss_end;) {
        *to++ = 0;
    }
    main();
    for (;;) {
    }
}

__attribute__((section(".isr_vector"), used)) static void* const vectors[] = {stack_top, (void*)reset_handler};

static const char greeting[] = "Korvane test firmware";
const uint32_t bulk[BULK_WORDS] = {0x12345678, 0xCAFEF00D, [BULK_WORDS - 1] = 0xA5A5A5A5};
volatile uint32_t counter = 7;
volatile uint32_t settings[4] = {1, 2, 3, 4};
uint32_t scratch[16];

int main(void)
{
    for (unsigned i = 0; greeting[i] != 0; ++i) {
        counter += (uint32_t)greeting[i] + bulk[i % BULK_WORDS] + settings[i & 3];
        scratch[i & 15] = counter;
    }
    return 0;
}
