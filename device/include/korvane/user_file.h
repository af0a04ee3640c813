/* The entry type of the user_files table that KorvaneFileCreate -f writes:
 * the firmware includes this header before the generated C source, which
 * holds static arrays and one table of these, ended by an entry of zeros.
 * Every entry is written as
 *   {"name", (unsigned char *)array, sizeof(array), MIME_..., FILE_...},
 * so the MIME and visibility identifiers must be defined too (the layout
 * header that KorvaneInspect layout makes from the control file defines them). */
#ifndef KORVANE_USER_FILE_H
#define KORVANE_USER_FILE_H

typedef struct {
    const char *name;          /* as the image stores it; 0 in the entry that ends the table */
    const unsigned char *data; /* the file's bytes (squeezed with -w) */
    unsigned long size;        /* bytes at data */
    int type;                  /* value of the MIME-type identifier */
    int visibility;            /* value of the visibility identifier */
} USER_FILE;

#endif
