/* What the firmware defines for the generated user_files table. */
#ifndef USER_FILE_H
#define USER_FILE_H

typedef struct {
    const char *name;
    unsigned char *data;
    unsigned long size;
    int type;
    int visibility;
} USER_FILE;

#define MIME_HTML 1
#define MIME_CSS 2
#define MIME_PNG 3
#define MIME_XML 4
#define FILE_VISIBLE 1
#define FILE_HIDDEN 0

#endif
