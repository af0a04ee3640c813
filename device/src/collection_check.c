/* The bytes the collection reader leaves alone, for a firmware that wants to
 * refuse exactly the images KorvaneInspect refuses. */
#include "korvane/collection.h"

#define TRAILER 20u  /* sixteen zero bytes that end the list, then the table location */
#define MARK 0x80u   /* set in every stored visibility byte */

korvane_collection_fault korvane_collection_check(const korvane_collection *c)
{
    const unsigned char *image = c->image;
    uint32_t at = 0, record;
    /* State that open left after a fault: never read past what it checked. */
    if (c->end + TRAILER < TRAILER) {
        return KORVANE_COLLECTION_TOO_SHORT;
    }
    if (c->table > c->end) {
        return KORVANE_COLLECTION_RECORDS_INCOMPLETE;
    }
    for (at = c->end; at < c->end + 16u; ++at) {
        if (image[at] != 0u) {
            return KORVANE_COLLECTION_LIST_NOT_ENDED;
        }
    }
    /* Each record: bit 7 of its visibility byte set, its padding zero. */
    for (record = c->table; record < c->table + c->count * c->record_size; record += c->record_size) {
        at = record + 9u + c->lengths;
        if ((image[at] & MARK) == 0u) {
            return KORVANE_COLLECTION_RECORD_MALFORMED;
        }
        while (++at < record + c->record_size) {
            if (image[at] != 0u) {
                return KORVANE_COLLECTION_RECORD_MALFORMED;
            }
        }
    }
    /* The padding between the last name and the table. */
    at = 0;
    if (c->count != 0u) {
        korvane_file last;
        if (korvane_collection_file(c, c->count - 1u, &last) != KORVANE_COLLECTION_OK) {
            return KORVANE_COLLECTION_NO_SUCH_FILE;
        }
        at = (uint32_t)((const unsigned char *)last.name - image);
        while (image[at++] != 0u) {
        }
    }
    for (; at < c->table; ++at) {
        if (image[at] != 0u) {
            return KORVANE_COLLECTION_TABLE_MISPLACED;
        }
    }
    return KORVANE_COLLECTION_OK;
}
