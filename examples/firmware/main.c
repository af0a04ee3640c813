/* Host stand-in for the firmware: walks the compiled user_files table, reads
 * the collection image and checks and decrypts the upload image with the
 * device code (Korvane::Device), as the firmware and its boot loader do.
 * Exits non-zero on any mismatch. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "korvane/collection.h"
#include "korvane/upload.h"
#include "korvane/user_file.h"
#include "web_layout.h"

extern const USER_FILE *const firmware_user_files;
extern const unsigned char *const panel_logo;
extern const unsigned char *const panel_logo_inverted;
extern const unsigned long panel_logo_size;

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

/* The image read with the layout of its control file (web_layout.h), each
 * record against the user_files entry at its place. */
static int check_collection(const char *path)
{
    static const korvane_layout layout = KORVANE_LAYOUT;
    long size = 0;
    unsigned char *image = load(path, &size);
    const USER_FILE *f = firmware_user_files;
    korvane_collection c;
    korvane_file file;
    uint32_t i;
    int errors = 0;
    if (image == NULL || korvane_collection_open(&c, image, (uint32_t)size, &layout) != KORVANE_COLLECTION_OK) {
        printf("cannot read %s\n", path);
        free(image);
        return 1;
    }
    for (i = 0; korvane_collection_file(&c, i, &file) == KORVANE_COLLECTION_OK; ++i, ++f) {
        int same = f->name != NULL && strcmp(file.name, f->name) == 0 && file.length == f->size &&
                   memcmp(file.data, f->data, file.length) == 0 && file.visibility == f->visibility &&
                   file.type == f->type;
        printf("  %-20s %6lu bytes  type %u  visibility %u  %s\n", file.name, (unsigned long)file.length, file.type,
               file.visibility, same ? "matches user_files" : "DIFFERS from user_files");
        errors += !same;
    }
    if (f->name != NULL) {
        printf("  user_files has more entries than the image\n");
        ++errors;
    }
    free(image);
    return errors;
}

/* Plain bytes as the boot loader receives them, put in place by offset. */
static void place(void *context, uint32_t offset, const unsigned char *bytes, size_t count)
{
    memcpy((unsigned char *)context + offset, bytes, count);
}

/* The upload image fed to the boot loader's decoder in 64-byte pieces. */
static int check_upload(const char *path)
{
    static const unsigned char suffix[] = {0x4B, 0x56};
    static const unsigned char keys[] = {0x13, 0x37, 0xC0, 0xDE};
    long size = 0, at;
    unsigned char *upload = load(path, &size);
    unsigned char *plain = malloc((size_t)size + 1);
    korvane_upload_setup setup = {0xA55A, suffix, 2, 1, keys, 4, 0x1D0F, 0x10, 0, place, NULL};
    korvane_upload u;
    korvane_upload_fault verdict;
    if (upload == NULL || plain == NULL) {
        printf("cannot read %s\n", path);
        free(upload);
        free(plain);
        return 1;
    }
    setup.context = plain;
    setup.max_length = size > 10 ? (uint32_t)size - 10u : 0u; /* what plain has room for */
    korvane_upload_start(&u, &setup);
    for (at = 0; at < size; at += 64) {
        korvane_upload_feed(&u, upload + at, (size_t)(size - at < 64 ? size - at : 64));
    }
    verdict = korvane_upload_finish(&u);
    printf("  upload image: %lu bytes, magic %04X, CRCs %s\n", (unsigned long)u.length, u.magic,
           verdict == KORVANE_UPLOAD_OK ? "correct" : "WRONG");
    free(plain);
    free(upload);
    return verdict != KORVANE_UPLOAD_OK;
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
