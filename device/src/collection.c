/* The collection image reader: one checking pass at open, plain reads after. */
#include "korvane/collection.h"

#define TRAILER 20u  /* sixteen zero bytes that end the list, then the table location */
#define MARK 0x80u   /* set in every stored visibility byte */

/* Kept out of line where the compiler allows: one copy is smaller than the
 * copies it would inline. */
#if defined(__GNUC__)
#define OUT_OF_LINE __attribute__((noinline))
#else
#define OUT_OF_LINE
#endif

/* A field of n bytes (2 or 4) at offset at, in the image's byte order. */
static OUT_OF_LINE uint32_t load(const korvane_collection *c, uint32_t at, unsigned n)
{
    const unsigned char *p = c->image + at;
    uint32_t v = 0;
    while (n-- != 0u) {
        v = v << 8 | (c->big_endian ? *p++ : p[n]);
    }
    return v;
}

/* An address field as an offset from the base; one below the base wraps to a
 * large offset, which every bound refuses. */
static OUT_OF_LINE uint32_t offset_at(const korvane_collection *c, uint32_t at)
{
    return load(c, at, 4) - c->base;
}

/* The data block of the record at offset record: its offset, and its size up
 * to the next record's block (the last one's up to the first name, whose
 * address the first record holds). */
static OUT_OF_LINE uint32_t block(const korvane_collection *c, uint32_t record, uint32_t *size)
{
    uint32_t data = offset_at(c, record + 4u), next = record + c->record_size;
    *size = offset_at(c, next < c->end ? next + 4u : c->table) - data;
    return data;
}

korvane_collection_fault korvane_collection_open(korvane_collection *c, const unsigned char *image, uint32_t size,
                                                 const korvane_layout *layout)
{
    uint32_t record, name = 0, data, length;
    korvane_collection_fault fault = KORVANE_COLLECTION_TOO_SHORT;
    c->image = image;
    c->count = 0;
    c->end = size - TRAILER;
    c->base = layout->target_address + layout->header_len;
    c->big_endian = layout->big_endian;
    c->lengths = layout->four_byte_lengths ? 4u : 2u;
    c->record_size = (uint8_t)(c->lengths + 10u);
    if (layout->align) {
        c->record_size = (uint8_t)((c->record_size + 3u) & ~3u);
    }
    if (size < TRAILER) {
        goto refused;
    }
    c->table = record = offset_at(c, size - 4u);
    /* The first record's name starts the names and ends the data area, whose
     * first block starts the image. A table location beyond the end of the
     * table runs no record and is refused as an incomplete table. */
    if (record < c->end) {
        name = offset_at(c, record);
        fault = KORVANE_COLLECTION_DATA_OUTSIDE;
        if (offset_at(c, record + 4u) != 0u) {
            goto refused;
        }
    }
    /* Padding, the end-of-list zeros and the visibility mark carry nothing
     * the reader returns; they are left to the host. Each record: its name
     * right after the one before it and ended before the table; its data
     * block up to the next record's (the last one's up to the names) and not
     * beyond the table, so that the blocks follow each other from offset 0
     * and end where the names start; its stored length that block's size (a
     * 2-byte one its low 16 bits). A last record cut short by the end of the
     * table still lies inside the image (the trailer follows): it is read,
     * then refused. */
    for (; record < c->end; record += c->record_size, ++c->count) {
        fault = KORVANE_COLLECTION_NAME_OUTSIDE;
        if (offset_at(c, record) != name) {
            goto refused;
        }
        fault = KORVANE_COLLECTION_NAME_UNTERMINATED;
        do {
            if (name >= c->table) {
                goto refused;
            }
        } while (c->image[name++] != 0u);
        fault = KORVANE_COLLECTION_DATA_OUTSIDE;
        data = block(c, record, &length);
        if (length > c->table - data) {
            goto refused;
        }
        fault = KORVANE_COLLECTION_LENGTH_MISMATCH;
        if (c->lengths == 2u) {
            length &= 0xFFFFu;
        }
        if (load(c, record + 8u, c->lengths) != length) {
            goto refused;
        }
    }
    fault = KORVANE_COLLECTION_RECORDS_INCOMPLETE;
    if (record != c->end) {
        goto refused;
    }
    /* The table follows the names and their padding (with ALIGN up to an
     * address that is a multiple of 4). */
    if (layout->align) {
        name += (0u - (c->base + name)) & 3u;
    }
    fault = KORVANE_COLLECTION_TABLE_MISPLACED;
    if (name == c->table) {
        return KORVANE_COLLECTION_OK;
    }
refused:
    c->count = 0;
    return fault;
}

korvane_collection_fault korvane_collection_file(const korvane_collection *c, uint32_t index, korvane_file *file)
{
    uint32_t record = c->table + index * c->record_size, data;
    if (index >= c->count) {
        return KORVANE_COLLECTION_NO_SUCH_FILE;
    }
    /* open has checked every address: they are offsets into the image now. */
    file->name = (const char *)(c->image + offset_at(c, record));
    data = block(c, record, &file->length);
    file->data = c->image + data;
    file->data_address = c->base + data;
    record += 8u + c->lengths;
    file->type = c->image[record];
    file->visibility = (uint8_t)(c->image[record + 1u] & ~MARK);
    return KORVANE_COLLECTION_OK;
}

korvane_collection_fault korvane_collection_find(const korvane_collection *c, const char *name, korvane_file *file)
{
    uint32_t i = 0;
    korvane_collection_fault fault;
    while ((fault = korvane_collection_file(c, i++, file)) == KORVANE_COLLECTION_OK) {
        const char *a = name;
        const char *b = file->name;
        while (*a == *b++) {
            if (*a++ == '\0') {
                return KORVANE_COLLECTION_OK;
            }
        }
    }
    return fault;
}

uint32_t korvane_collection_count(const korvane_collection *c)
{
    return c->count;
}
