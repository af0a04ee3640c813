/* Host stand-in for the firmware: walks the compiled user_files table, loads
 * the collection image the way the boot loader does, and checks the CRCs of
 * the upload image. Exits non-zero on any mismatch. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "user_file.h"

extern const USER_FILE *const firmware_user_files;
extern const unsigned char *const panel_logo;
extern const unsigned char *const panel_logo_inverted;
extern const unsigned long panel_logo_size;

#define TARGET_ADDRESS 0x20000u
#define FILE_HEADER_LEN 16u

static unsigned char *load(const char *path, long *size)
{
    FILE *f = fopen(path, "rb");
    unsigned char *bytes;
    if (f == NULL) {
        return NULL;
    }
    fseek(f, 0, SEEK_END);
    *size = ftell(f);
    fseek(f, 0, SEEK_SET);
    bytes = malloc((size_t)*size + 1);
    if (bytes == NULL || fread(bytes, 1, (size_t)*size, f) != (size_t)*size) {
        fclose(f);
        free(bytes);
        return NULL;
    }
    fclose(f);
    return bytes;
}

static unsigned long be32(const unsigned char *p)
{
    return (unsigned long)p[0] << 24 | (unsigned long)p[1] << 16 | (unsigned long)p[2] << 8 | p[3];
}

static unsigned crc16(unsigned crc, const unsigned char *p, long n)
{
    long i;
    int bit;
    for (i = 0; i < n; ++i) {
        crc ^= (unsigned)p[i] << 8;
        for (bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) & 0xFFFFu : (crc << 1) & 0xFFFFu;
        }
    }
    return crc;
}

static int check_collection(const char *path)
{
    long size = 0;
    unsigned char *image = load(path, &size);
    unsigned long base = TARGET_ADDRESS + FILE_HEADER_LEN;
    unsigned long record;
    const USER_FILE *f = firmware_user_files;
    int errors = 0;
    if (image == NULL || size < 20) {
        printf("cannot read %s\n", path);
        return 1;
    }
    /* The last four bytes point at the header table; records are 16 bytes
     * (4-byte lengths, aligned) and end with sixteen zero bytes. */
    record = be32(image + size - 4) - base;
    for (; be32(image + record) != 0; record += 16, ++f) {
        const char *name = (const char *)image + (be32(image + record) - base);
        const unsigned char *data = image + (be32(image + record + 4) - base);
        unsigned long length = be32(image + record + 8);
        int same = f->name != NULL && strcmp(name, f->name) == 0 && length == f->size &&
                   memcmp(data, f->data, length) == 0 && (image[record + 13] & 0x7F) == f->visibility &&
                   image[record + 12] == f->type;
        printf("  %-20s %6lu bytes  type %u  visibility %u  %s\n", name, length, image[record + 12],
               image[record + 13] & 0x7F, same ? "matches user_files" : "DIFFERS from user_files");
        errors += !same;
    }
    if (f->name != NULL) {
        printf("  user_files has more entries than the image\n");
        ++errors;
    }
    free(image);
    return errors;
}

static int check_upload(const char *path)
{
    static const unsigned char suffix[] = {0x4B, 0x56};
    static const unsigned char keys[] = {0x13, 0x37, 0xC0, 0xDE};
    long size = 0, n, i;
    unsigned char *upload = load(path, &size);
    unsigned char *plain;
    unsigned reg = 0x1D0F;
    unsigned long rotation = 0x10;
    int errors = 0;
    if (upload == NULL || size < 10) {
        printf("cannot read %s\n", path);
        return 1;
    }
    n = (long)be32(upload);
    errors += n != size - 10;
    errors += crc16(crc16(0, upload + 10, n), suffix, 2) != (unsigned)(upload[6] << 8 | upload[7]);
    /* Undo the rotation, then the key stream, and check the plain CRC. */
    plain = malloc((size_t)n + 1);
    memcpy(plain, upload + 10 + rotation, (size_t)(n - (long)rotation));
    memcpy(plain + (n - (long)rotation), upload + 10, rotation);
    for (i = 0; i < n; ++i) {
        reg = crc16(reg, &keys[i % 4], 1);
        plain[i] ^= (unsigned char)(reg & 0xFF);
    }
    errors += crc16(crc16(0, plain, n), suffix, 2) != (unsigned)(upload[8] << 8 | upload[9]);
    printf("  upload image: %ld bytes, magic %02X%02X, CRCs %s\n", n, upload[4], upload[5], errors ? "WRONG" : "correct");
    free(plain);
    free(upload);
    return errors;
}

/* The panel pictures as the display task draws them: a five-byte preamble of
 * 0, width and height (high byte first), then the rows of pixels; the
 * inverted copy holds the same rows with every bit flipped. */
static int check_panel(void)
{
    unsigned width = (unsigned)panel_logo[1] << 8 | panel_logo[2];
    unsigned height = (unsigned)panel_logo[3] << 8 | panel_logo[4];
    unsigned long i;
    int errors = panel_logo[0] != 0 || panel_logo_size != 5 + (width + 7) / 8 * height;
    for (i = 5; i < panel_logo_size; ++i) {
        errors += (panel_logo[i] ^ panel_logo_inverted[i]) != 0xFF;
    }
    printf("  panel logo: %ux%u pixels, inverted copy %s\n", width, height, errors ? "WRONG" : "matches");
    return errors != 0;
}

int main(int argc, char **argv)
{
    int errors;
    if (argc < 3) {
        printf("usage: firmware_host web.bin firmware.upl\n");
        return 2;
    }
    printf("collection image %s:\n", argv[1]);
    errors = check_collection(argv[1]);
    errors += check_upload(argv[2]);
    errors += check_panel();
    printf(errors ? "FAILED\n" : "all checks passed\n");
    return errors ? 1 : 0;
}
