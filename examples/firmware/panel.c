/* The display task's pictures: the generated arrays are static, so the task
 * includes them and hands out what it draws. */
#include "panel_pictures.c"

const unsigned char *const panel_logo = logo;
const unsigned char *const panel_logo_inverted = logo_inverted;
const unsigned long panel_logo_size = sizeof logo;
