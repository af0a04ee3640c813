/* The generated web pages, compiled with the firmware's own definitions. */
#include "user_file.h"
#include "web.c"

const USER_FILE *const firmware_user_files = user_files;
