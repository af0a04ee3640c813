static const unsigned char _null[] = {
};

static const USER_FILE user_files[] = {
{"null.bmp", (unsigned char *)_null, sizeof(_null), MIME_HTML, FILE_VISIBLE},
{0} // end of list
};
