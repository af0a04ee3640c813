/* Checking and decrypting an upload image (KorvaneConvert, header mode) in a
 * boot loader, as it arrives.
 *
 * The loader sets the decoder up with what arguments 3 to 7 of the
 * KorvaneConvert call said (magic, CRC suffix bytes, key bytes, seed,
 * rotation) and the most image bytes it can take, then feeds the upload
 * image (header included) in chunks of any size, down to one byte. The
 * decoder decrypts each chunk in the caller's buffer and hands the plain
 * bytes to a callback together with their offset in the plain image; with a
 * rotation the plain image's last bytes arrive first. After the last chunk
 * korvane_upload_finish gives the verdict: the first fault in the order
 * length, magic, image CRC, plain CRC. Nothing handed out may be trusted
 * (run, or marked valid) before that verdict is KORVANE_UPLOAD_OK.
 *
 * The state is one fixed-size struct; no buffer of the image's size. The
 * plain CRC is taken over the plain image in its own order, although a
 * rotation delivers it out of order: the two parts' CRCs are joined at the
 * end. With a rotation the key stream for the first bytes to arrive is found
 * by running the register ahead once, when the header is complete: about one
 * register step per image byte, spent inside the call that completes it.
 * Portable C99: no heap, no C library, correct with a 16-bit int. */
#ifndef KORVANE_UPLOAD_H
#define KORVANE_UPLOAD_H

#include <stddef.h>
#include <stdint.h>

#include "korvane/crc16.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
    KORVANE_UPLOAD_OK = 0,
    KORVANE_UPLOAD_LENGTH,    /* the header's length disagrees with the bytes fed, exceeds max_length, or is
                                 shorter than the rotation; or the header itself is incomplete */
    KORVANE_UPLOAD_MAGIC,     /* the magic is not the expected one */
    KORVANE_UPLOAD_IMAGE_CRC, /* the image CRC does not match the image as it arrived */
    KORVANE_UPLOAD_NO_KEY,    /* keyed, but no key bytes for a non-empty image */
    KORVANE_UPLOAD_PLAIN_CRC  /* the plain-image CRC does not match the decrypted image */
} korvane_upload_fault;

/* Receives plain bytes: count bytes at bytes (in the caller's own buffer, now
 * decrypted) that belong at offset in the plain image. */
typedef void (*korvane_upload_sink)(void *context, uint32_t offset, const unsigned char *bytes, size_t count);

/* What the KorvaneConvert call was given. keyed is set when argument 5 was
 * given (the 10-byte header), even when it holds no key bytes. The key,
 * suffix and context stay the caller's and must outlive the decoding. */
typedef struct {
    uint16_t magic;                 /* argument 3, characters 4 to 7 */
    const unsigned char *suffix;    /* argument 4: CRC suffix bytes */
    uint8_t suffix_count;
    uint8_t keyed;                  /* argument 5 given */
    const unsigned char *key;       /* argument 5: key bytes */
    uint8_t key_count;
    uint16_t seed;                  /* argument 6, 0 when absent */
    uint16_t rotation;              /* argument 7, 0 when absent */
    uint32_t max_length;            /* the most image bytes the loader accepts (its flash region) */
    korvane_upload_sink sink;       /* may be 0: check only */
    void *context;
} korvane_upload_setup;

/* The decoder's whole state. */
typedef struct {
    const korvane_upload_setup *setup;
    uint32_t length;      /* image length from the header */
    uint32_t received;    /* bytes fed, header included */
    uint16_t magic;       /* as stored */
    uint16_t image_crc;   /* as stored */
    uint16_t plain_crc;   /* as stored */
    uint16_t crc;         /* running CRC over the image as written */
    uint16_t head_crc;    /* running CRC over the plain image's first part (behind the rotated bytes) */
    uint16_t tail_crc;    /* CRC over the plain image's last `rotation` bytes, which arrive first */
    uint16_t reg;         /* key-stream register */
    uint8_t key_at;       /* key byte fed next */
    uint8_t header_size;  /* 8, or 10 when keyed */
    uint8_t bad;          /* the header is known bad: nothing more is handed out */
} korvane_upload;

/* Starts decoding an image made with setup. */
void korvane_upload_start(korvane_upload *u, const korvane_upload_setup *setup);

/* Takes the next count bytes of the upload image; the image bytes among them
 * are decrypted in place and handed to the sink. Bytes beyond the length the
 * header gives are only counted (the verdict is then a length fault). */
void korvane_upload_feed(korvane_upload *u, unsigned char *bytes, size_t count);

/* Image length from the header, once its first four bytes have arrived (0
 * before): a loader that streams from a region learns there how much to feed. */
uint32_t korvane_upload_length(const korvane_upload *u);

/* The verdict, after the last byte. */
korvane_upload_fault korvane_upload_finish(const korvane_upload *u);

#ifdef __cplusplus
}
#endif

#endif
