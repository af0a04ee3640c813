/* The device half on an emulated Cortex-M3 (QEMU mps2-an385): walks the
 * compiled user_files table, reads the collection image that QEMU loads at
 * the control file's target address, and checks and decrypts the upload
 * image that KorvaneConvert made from this very firmware. Prints what it
 * finds through semihosting; a test compares it with KorvaneInspect on the
 * host. Exits with 0 when every check passes. */
#include <stdint.h>

#include "korvane/collection.h"
#include "korvane/crc16.h"
#include "korvane/upload.h"
#include "korvane/user_file.h"
#include "semihosting.h"
#include "web_layout.h"

/* The generated arrays and table are static: they are compiled in here. */
#include "web.c"

/* The loader's own word in the FILE_HEADER_LEN bytes before the image: the
 * image's length (QEMU puts it there beside the image). */
#define COLLECTION_LENGTH (*(const volatile uint32_t *)KORVANE_TARGET_ADDRESS)
#define COLLECTION ((const unsigned char *)(KORVANE_TARGET_ADDRESS + KORVANE_FILE_HEADER_LEN))

/* Where QEMU loads the upload image, and the most it may hold. */
#define UPLOAD ((const unsigned char *)0x100000u)
#define UPLOAD_REGION 0x20000u

extern const unsigned char __code_start[];

static void say(const char *a, uint32_t value, unsigned digits)
{
    semihosting_write(a);
    if (digits == 0u) {
        print_decimal(value);
    } else {
        print_hex(value, digits);
    }
}

static int same_bytes(const unsigned char *a, const unsigned char *b, uint32_t n)
{
    while (n != 0u) {
        --n;
        if (a[n] != b[n]) {
            return 0;
        }
    }
    return 1;
}

/* Every record of the image against the entry of user_files at its place. */
static int check_collection(void)
{
    static const korvane_layout layout = KORVANE_LAYOUT;
    korvane_collection c;
    korvane_file f;
    uint32_t i, entries = 0;
    int errors = 0;
    korvane_collection_fault fault = korvane_collection_open(&c, COLLECTION, COLLECTION_LENGTH, &layout);
    if (fault == KORVANE_COLLECTION_OK) {
        fault = korvane_collection_check(&c);  /* refuses what KorvaneInspect refuses */
    }
    while (user_files[entries].name != 0) {
        ++entries;
    }
    say("collection: ", fault, 0);
    say(" fault, ", korvane_collection_count(&c), 0);
    say(" files, user_files has ", entries, 0);
    semihosting_write(" entries\n");
    for (i = 0; korvane_collection_file(&c, i, &f) == KORVANE_COLLECTION_OK; ++i) {
        const USER_FILE *u = i < entries ? &user_files[i] : &user_files[entries];
        korvane_file by_name;
        /* The image finds the entry's name, and it is this record, with the entry's bytes. */
        int same = u->name != 0 && korvane_collection_find(&c, u->name, &by_name) == KORVANE_COLLECTION_OK &&
                   by_name.data == f.data && f.length == u->size && same_bytes(f.data, u->data, f.length) &&
                   f.type == (uint8_t)u->type && f.visibility == (uint8_t)(u->visibility & 0x7F);
        say("file ", f.data_address, 8);
        say(" ", f.length, 0);
        say(" ", f.type, 2);
        say(" ", f.visibility | 0x80u, 2); /* as the image stores it, with bit 7 */
        say(" CRC ", korvane_crc16(0, f.data, f.length), 4);
        semihosting_write(same ? " same as user_files " : " DIFFERS from user_files ");
        semihosting_write(f.name);
        semihosting_write("\n");
        errors += !same;
    }
    return errors + (fault != KORVANE_COLLECTION_OK) + (i != entries);
}

/* Plain bytes against the firmware's own code, which they were made from. */
struct comparison {
    uint32_t bytes;
    uint32_t differ;
};

static void compare_with_code(void *context, uint32_t offset, const unsigned char *bytes, size_t count)
{
    struct comparison *c = context;
    c->bytes += count;
    c->differ += !same_bytes(__code_start + offset, bytes, count);
}

/* Fed 100 bytes at a time from a copy, as a loader takes them off a link. */
static int check_upload(void)
{
    static const unsigned char suffix[] = {UPLOAD_SUFFIX};
    static const unsigned char key[] = {UPLOAD_KEY};
    struct comparison compared = {0, 0};
    const korvane_upload_setup setup = {UPLOAD_MAGIC, suffix, sizeof suffix, 1, key, sizeof key, UPLOAD_SEED,
                                        UPLOAD_ROTATION, UPLOAD_REGION - 10u, compare_with_code, &compared};
    static unsigned char chunk[100];
    korvane_upload u;
    uint32_t at = 0, total = 10u, n;
    korvane_upload_fault verdict;
    korvane_upload_start(&u, &setup);
    while (at < total && at < UPLOAD_REGION) {
        n = total - at < sizeof chunk ? total - at : sizeof chunk;
        for (uint32_t i = 0; i < n; ++i) {
            chunk[i] = UPLOAD[at + i];
        }
        korvane_upload_feed(&u, chunk, n);
        at += n;
        total = 10u + korvane_upload_length(&u);
    }
    verdict = korvane_upload_finish(&u);
    say("upload: 10-byte header, image of ", u.length, 0);
    say(" bytes, magic ", u.magic, 4);
    say(", image CRC ", u.image_crc, 4);
    say(", plain CRC ", u.plain_crc, 4);
    say(", verdict ", verdict, 0);
    say(", ", compared.bytes, 0);
    semihosting_write(compared.differ == 0u && compared.bytes == u.length ? " plain bytes equal the running firmware\n"
                                                                          : " plain bytes DIFFER from the firmware\n");
    return (verdict != KORVANE_UPLOAD_OK) + (compared.differ != 0u) + (compared.bytes != u.length);
}

int main(void)
{
    int errors = check_collection();
    errors += check_upload();
    semihosting_write(errors ? "FAILED\n" : "all checks passed\n");
    return errors != 0;
}
