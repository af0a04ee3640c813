/* Reading a collection image (KorvaneFileCreate -f) on the device.
 *
 * The image lies in memory: in flash, or where a loader copied it. Its
 * addresses are absolute, made for the image's first byte at the target
 * address plus FILE_HEADER_LEN; the image itself may sit elsewhere (a copy
 * in RAM, a host test), since every address is turned into an offset into
 * the region given here. korvane_collection_open checks the whole structure
 * once, every address and length against the region before it is followed;
 * after that the records can be read and searched without further checks.
 * A corrupt or hostile image gives a named fault and no read outside the
 * region. Portable C99: no heap, no C library, correct with a 16-bit int. */
#ifndef KORVANE_COLLECTION_H
#define KORVANE_COLLECTION_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The layout values of the control file that made the image. */
typedef struct {
    uint32_t target_address;  /* the control file's %HEX line */
    uint32_t header_len;      /* FILE_HEADER_LEN: the image starts this far behind the target address */
    uint8_t big_endian;       /* BIG_ENDIAN non-zero */
    uint8_t four_byte_lengths; /* MAX_FILE_LENGTH exactly 4 */
    uint8_t align;            /* ALIGN non-zero */
} korvane_layout;

/* What is wrong with an image; the first fault found is reported. */
typedef enum {
    KORVANE_COLLECTION_OK = 0,
    KORVANE_COLLECTION_TOO_SHORT,         /* no room for the end of list and the table location */
    KORVANE_COLLECTION_TABLE_OUTSIDE,     /* (given as RECORDS_INCOMPLETE: no longer returned) */
    KORVANE_COLLECTION_RECORDS_INCOMPLETE, /* the header table is no whole number of records, or its location
                                              lies beyond the end of list */
    KORVANE_COLLECTION_LIST_NOT_ENDED,    /* check: the sixteen bytes that end the list are not all zero */
    KORVANE_COLLECTION_RECORD_MALFORMED,  /* check: a record's padding is not zero, or bit 7 of its visibility
                                             byte is clear */
    KORVANE_COLLECTION_NAME_OUTSIDE,      /* a name is not where it belongs (after the one before it) */
    KORVANE_COLLECTION_NAME_UNTERMINATED, /* no zero byte ends a name before the table */
    KORVANE_COLLECTION_DATA_OUTSIDE,      /* a data block is not where it belongs (the first at offset 0, each
                                             after the one before it) */
    KORVANE_COLLECTION_LENGTH_MISMATCH,   /* a stored length disagrees with the size of its data block */
    KORVANE_COLLECTION_TABLE_MISPLACED,   /* the table does not follow the names and their padding (with ALIGN
                                             up to a multiple of 4); check: that padding is not zero */
    KORVANE_COLLECTION_NO_SUCH_FILE       /* index beyond the last record, no file by that name, or the image
                                             was not opened successfully */
} korvane_collection_fault;

/* The reader's state: the region and what open found in it. */
typedef struct {
    const unsigned char *image; /* first byte of the image */
    uint32_t base;              /* target_address + header_len */
    uint32_t table;             /* offset of the header table */
    uint32_t end;               /* offset of the end of the table: the image size less 20 */
    uint32_t count;             /* records in the table (0 until open succeeds) */
    uint8_t record_size;        /* 12, 14 or 16 */
    uint8_t big_endian;         /* non-zero: big-endian fields */
    uint8_t lengths;            /* bytes of a length field: 2 or 4 */
} korvane_collection;

/* One file of the image. */
typedef struct {
    const char *name;           /* in the image, ended by a zero byte */
    const unsigned char *data;  /* in the image */
    uint32_t length;            /* the whole data block, also beyond 65,535 bytes with 2-byte lengths */
    uint32_t data_address;      /* as stored: where the data lies on the target */
    uint8_t type;               /* low byte of the MIME-type identifier's value */
    uint8_t visibility;         /* low byte of the visibility identifier's value, bit 7 cleared */
} korvane_file;

/* Checks the image of size bytes at image against layout. The image ends at
 * image + size: its last four bytes give the table location. A loader that
 * does not know the size keeps it itself, for instance in the FILE_HEADER_LEN
 * bytes in front of the image. */
korvane_collection_fault korvane_collection_open(korvane_collection *c, const unsigned char *image, uint32_t size,
                                                 const korvane_layout *layout);

/* Number of files; 0 when the image was not opened. */
uint32_t korvane_collection_count(const korvane_collection *c);

/* File number index, from 0 in table order. */
korvane_collection_fault korvane_collection_file(const korvane_collection *c, uint32_t index, korvane_file *file);

/* The file whose stored name equals name byte for byte (the table's form:
 * "web/index.htm", or "xml?status" for a parameter handler). */
korvane_collection_fault korvane_collection_find(const korvane_collection *c, const char *name, korvane_file *file);

/* Optional, after korvane_collection_open: the bytes the reader leaves alone
 * because they carry nothing it hands out (the zero padding before the table
 * and in each record, bit 7 of each visibility byte, the sixteen zeros that
 * end the list). With it a firmware refuses exactly the images KorvaneInspect
 * refuses; without it, such an image reads as KorvaneInspect reads it once
 * those bytes are put right. Its own source file, so that a firmware that
 * does not call it does not link it. Reads only inside the region, also
 * after an open that failed. */
korvane_collection_fault korvane_collection_check(const korvane_collection *c);

#ifdef __cplusplus
}
#endif

#endif
