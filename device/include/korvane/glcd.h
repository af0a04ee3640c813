/* The GLCD arrays that KorvaneFileCreate -bm and -fb write, for a display
 * driver: a zero byte, the width and the height (16 bits each, high byte
 * first), then the rows in the order the array holds them (the bitmap's
 * stored order, bottom row first for an ordinary bitmap, unless reversed
 * with -i), each (width + 7) / 8 bytes with the leftmost pixel in bit 7.
 * A set bit is a lit pixel. Every access is checked against the array's
 * size (sizeof of the generated array). */
#ifndef KORVANE_GLCD_H
#define KORVANE_GLCD_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Width and height from the preamble; both 0 when the array is shorter than
 * its preamble, does not start with a zero byte, or is too short for the
 * rows the preamble announces. */
uint16_t korvane_glcd_width(const unsigned char *array, size_t size);
uint16_t korvane_glcd_height(const unsigned char *array, size_t size);

/* The pixel in column x of row y (row 0 the array's first row): 1 lit, 0
 * dark, -1 outside the picture or a broken array. */
int korvane_glcd_pixel(const unsigned char *array, size_t size, uint16_t x, uint16_t y);

#ifdef __cplusplus
}
#endif

#endif
