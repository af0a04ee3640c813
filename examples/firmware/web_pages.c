/* The generated web pages: the entry type, then the identifiers' values from
 * the same control file, then the generated arrays and table. */
#include "korvane/user_file.h"
#include "web_layout.h"
#include "web.c"

const USER_FILE *const firmware_user_files = user_files;
