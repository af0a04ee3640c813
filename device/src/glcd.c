/* GLCD array access. */
#include "korvane/glcd.h"

#define PREAMBLE 5u

static uint16_t field(const unsigned char *p)
{
    return (uint16_t)((unsigned)p[0] << 8 | p[1]);
}

/* Bytes a row takes. */
static uint32_t row_bytes(uint16_t width)
{
    return ((uint32_t)width + 7u) >> 3;
}

/* The preamble holds and the array has room for every row it announces. */
static uint8_t whole(const unsigned char *array, size_t size)
{
    return size >= PREAMBLE && array[0] == 0u &&
           row_bytes(field(array + 1)) * field(array + 3) <= (uint32_t)(size - PREAMBLE);
}

uint16_t korvane_glcd_width(const unsigned char *array, size_t size)
{
    return whole(array, size) ? field(array + 1) : 0u;
}

uint16_t korvane_glcd_height(const unsigned char *array, size_t size)
{
    return whole(array, size) ? field(array + 3) : 0u;
}

int korvane_glcd_pixel(const unsigned char *array, size_t size, uint16_t x, uint16_t y)
{
    uint16_t width = korvane_glcd_width(array, size);
    if (x >= width || y >= korvane_glcd_height(array, size)) {
        return -1;
    }
    return (int)(((unsigned)array[PREAMBLE + row_bytes(width) * y + (x >> 3)] >> (7u - (x & 7u))) & 1u);
}
