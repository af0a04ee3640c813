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
static uint32_t offset_at(const korvane_collection *c, uint32_t at)
{
    return load(c, at, 4) - c->base;
}

korvane_collection_fault korvane_collection_open(korvane_collection *c, const unsigned char *image, uint32_t size,
                                                 const korvane_layout *layout)
{
    uint32_t at, end = size - TRAILER, record, name = 0, data = 0, stored = 0, mask = 0xFFFFFFFFu;
    c->image = image;
    c->size = 0;
    c->names = 0;
    c->base = layout->target_address + layout->header_len;
    c->big_endian = layout->big_endian != 0u;
    c->lengths = layout->four_byte_lengths ? 4u : 2u;
    c->record_size = (uint8_t)(c->lengths == 4u ? (layout->align ? 16u : 14u) : 12u);
    if (size < TRAILER) {
        return KORVANE_COLLECTION_TOO_SHORT;
    }
    c->table = offset_at(c, size - 4u);
    if (c->table > end) {
        return KORVANE_COLLECTION_TABLE_OUTSIDE;
    }
    for (at = c->table, c->count = 0; at < end; at += c->record_size) {
        ++c->count;
    }
    if (at != end) {
        return KORVANE_COLLECTION_RECORDS_INCOMPLETE;
    }
    if (c->count != 0u) {
        c->names = name = offset_at(c, c->table);
    }
    /* Padding, the end-of-list zeros and the visibility mark carry nothing
     * the reader returns; they are left to the host. Each record: its name right after
     * the one before it and ended before the table; its data block right
     * after the one before it (the first at offset 0: after a block of size 0
     * at 0), the last ending where the names start; each stored length
     * fitting its block (a 2-byte one holds the low 16 bits). */
    for (record = c->table;; record += c->record_size) {
        at = c->names;
        if (record != end) {
            if (offset_at(c, record) != name) {
                return KORVANE_COLLECTION_NAME_OUTSIDE;
            }
            do {
                if (name >= c->table) {
                    return KORVANE_COLLECTION_NAME_UNTERMINATED;
                }
            } while (image[name++] != 0u);
            at = offset_at(c, record + 4u);
            if (at - data > c->names - data) {
                return KORVANE_COLLECTION_DATA_OUTSIDE;
            }
        }
        if (((at - data) & mask) != stored) {
            return KORVANE_COLLECTION_LENGTH_MISMATCH;
        }
        if (record == end) {
            break;
        }
        mask = c->lengths == 4u ? 0xFFFFFFFFu : 0xFFFFu;
        data = at;
        stored = load(c, record + 8u, c->lengths);
    }
    /* The table follows the names and their padding (with ALIGN up to an
     * address that is a multiple of 4). */
    at = name;
    if (layout->align) {
        at += (0u - (c->base + name)) & 3u;
    }
    if (at != c->table) {
        return KORVANE_COLLECTION_TABLE_MISPLACED;
    }
    c->size = size;
    return KORVANE_COLLECTION_OK;
}

korvane_collection_fault korvane_collection_file(const korvane_collection *c, uint32_t index, korvane_file *file)
{
    uint32_t record = c->table + index * c->record_size, data;
    if (index >= c->count || c->size == 0u) {
        return KORVANE_COLLECTION_NO_SUCH_FILE;
    }
    /* open has checked every address: they are offsets into the image now. */
    data = offset_at(c, record + 4u);
    file->name = (const char *)(c->image + offset_at(c, record));
    file->data = c->image + data;
    file->data_address = c->base + data;
    file->length = (index + 1u < c->count ? offset_at(c, record + c->record_size + 4u) : c->names) - data;
    file->type = c->image[record + 8u + c->lengths];
    file->visibility = (uint8_t)(c->image[record + 9u + c->lengths] & ~MARK);
    return KORVANE_COLLECTION_OK;
}

korvane_collection_fault korvane_collection_find(const korvane_collection *c, const char *name, korvane_file *file)
{
    uint32_t i;
    for (i = 0; korvane_collection_file(c, i, file) == KORVANE_COLLECTION_OK; ++i) {
        const char *a = name;
        const char *b = file->name;
        while (*a == *b++) {
            if (*a++ == '\0') {
                return KORVANE_COLLECTION_OK;
            }
        }
    }
    return KORVANE_COLLECTION_NO_SUCH_FILE;
}

uint32_t korvane_collection_count(const korvane_collection *c)
{
    return c->size != 0u ? c->count : 0u;
}
