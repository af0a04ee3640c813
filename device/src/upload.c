/* The streaming upload image decoder. */
#include "korvane/upload.h"

/* The rotation counts only with key bytes, as in KorvaneConvert. */
static uint16_t rotation(const korvane_upload *u)
{
    return u->setup->keyed ? u->setup->rotation : 0u;
}

/* The key-stream register advanced over the next key byte. */
static void advance(korvane_upload *u)
{
    const korvane_upload_setup *s = u->setup;
    u->reg = korvane_crc16_byte(u->reg, s->key[u->key_at]);
    if (++u->key_at == s->key_count) {
        u->key_at = 0;
    }
}

static uint8_t can_decrypt(const korvane_upload *u)
{
    return u->setup->keyed && u->setup->key_count != 0u;
}

/* The header is complete: refuse what cannot be right, and with a rotation
 * run the key stream ahead to the plain image's last part, which comes first. */
static void header_done(korvane_upload *u)
{
    uint32_t ahead;
    if (u->length > u->setup->max_length || rotation(u) > u->length || u->magic != u->setup->magic) {
        u->bad = 1;
        return;
    }
    if (rotation(u) != 0u && can_decrypt(u)) {
        for (ahead = u->length - rotation(u); ahead != 0u; --ahead) {
            advance(u);
        }
    }
}

static void header_byte(korvane_upload *u, unsigned char b)
{
    uint8_t at = (uint8_t)u->received;
    if (at < 4u) {
        u->length = u->length << 8 | b;
    } else if (at < 6u) {
        u->magic = (uint16_t)(u->magic << 8 | b);
    } else if (at < 8u) {
        u->image_crc = (uint16_t)(u->image_crc << 8 | b);
    } else {
        u->plain_crc = (uint16_t)(u->plain_crc << 8 | b);
    }
    if (++u->received == u->header_size) {
        header_done(u);
    }
}

void korvane_upload_start(korvane_upload *u, const korvane_upload_setup *setup)
{
    u->setup = setup;
    u->length = 0;
    u->received = 0;
    u->magic = 0;
    u->image_crc = 0;
    u->plain_crc = 0;
    u->crc = 0;
    u->head_crc = 0;
    u->tail_crc = 0;
    u->reg = setup->seed;
    u->key_at = 0;
    u->header_size = setup->keyed ? 10u : 8u;
    u->bad = 0;
}

void korvane_upload_feed(korvane_upload *u, unsigned char *bytes, size_t count)
{
    const korvane_upload_setup *s = u->setup;
    while (count != 0u && u->received < u->header_size) {
        header_byte(u, *bytes++);
        --count;
    }
    while (count != 0u) {
        uint32_t at = u->received - u->header_size;
        uint32_t run = u->length - at, offset = at - rotation(u), i;
        uint16_t *plain = &u->head_crc;
        if (u->bad || at >= u->length) {
            u->received += (uint32_t)count; /* only counted: the verdict will be a length fault */
            return;
        }
        if (at < rotation(u)) {
            /* The rotated part: the plain image's last bytes. */
            plain = &u->tail_crc;
            offset = u->length - rotation(u) + at;
            if (rotation(u) - at < run) {
                run = rotation(u) - at;
            }
        } else if (at == rotation(u)) {
            /* The plain image's first byte: the key stream starts afresh. */
            u->reg = s->seed;
            u->key_at = 0;
        }
        if (run > count) {
            run = (uint32_t)count;
        }
        for (i = 0; i < run; ++i) {
            u->crc = korvane_crc16_byte(u->crc, bytes[i]);
            if (can_decrypt(u)) {
                advance(u);
                bytes[i] = (unsigned char)(bytes[i] ^ (u->reg & 0xFFu));
                *plain = korvane_crc16_byte(*plain, bytes[i]);
            }
        }
        if (s->sink) {
            s->sink(s->context, offset, bytes, (size_t)run);
        }
        u->received += run;
        bytes += run;
        count -= (size_t)run;
    }
}

uint32_t korvane_upload_length(const korvane_upload *u)
{
    return u->received >= 4u ? u->length : 0u;
}

korvane_upload_fault korvane_upload_finish(const korvane_upload *u)
{
    const korvane_upload_setup *s = u->setup;
    uint16_t plain = u->head_crc;
    uint16_t i;
    if (u->received < u->header_size || u->received - u->header_size != u->length || u->length > s->max_length ||
        rotation(u) > u->length) {
        return KORVANE_UPLOAD_LENGTH;
    }
    if (u->magic != s->magic) {
        return KORVANE_UPLOAD_MAGIC;
    }
    if (korvane_crc16(u->crc, s->suffix, s->suffix_count) != u->image_crc) {
        return KORVANE_UPLOAD_IMAGE_CRC;
    }
    if (!s->keyed) {
        return KORVANE_UPLOAD_OK;
    }
    if (s->key_count == 0u && u->length != 0u) {
        return KORVANE_UPLOAD_NO_KEY;
    }
    /* The CRC is linear: the first part's CRC run on over as many zero bytes
     * as the last part holds, XOR the last part's CRC from 0, is the CRC of
     * both in plain order. */
    for (i = 0; i < rotation(u); ++i) {
        plain = korvane_crc16_byte(plain, 0);
    }
    plain = (uint16_t)(plain ^ u->tail_crc);
    return korvane_crc16(plain, s->suffix, s->suffix_count) == u->plain_crc ? KORVANE_UPLOAD_OK
                                                                           : KORVANE_UPLOAD_PLAIN_CRC;
}
