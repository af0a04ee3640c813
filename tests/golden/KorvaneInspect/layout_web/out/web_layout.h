/* Layout and identifiers of the collection made from web.txt, written by
 * KorvaneInspect layout: include it before the C source that
 * KorvaneFileCreate -f made from the same control file. */
#ifndef KORVANE_WEB_LAYOUT_H
#define KORVANE_WEB_LAYOUT_H

#define KORVANE_TARGET_ADDRESS 0x00020000u
#define KORVANE_FILE_HEADER_LEN 16u
#define KORVANE_BIG_ENDIAN 1
#define KORVANE_FOUR_BYTE_LENGTHS 1
#define KORVANE_ALIGN 1
#define KORVANE_LAYOUT {KORVANE_TARGET_ADDRESS, KORVANE_FILE_HEADER_LEN, KORVANE_BIG_ENDIAN, \
                        KORVANE_FOUR_BYTE_LENGTHS, KORVANE_ALIGN}

#define MIME_HTML 1
#define MIME_CSS 2
#define MIME_PNG 3
#define MIME_XML 4
#define FILE_VISIBLE 1
#define FILE_HIDDEN 0
#define MIME_TEXT 0 /* not defined in the control file */
#define FILE_SECRET 0 /* not defined in the control file */

#endif
