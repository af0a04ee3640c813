static const unsigned char _a[] = {
0x61,
};

static const unsigned char _b[] = {
0x62,
};

static const USER_FILE user_files[] = {
{"a.txt", (unsigned char *)_a, sizeof(_a), MIME_TEXT, FILE_VISIBLE},
{"b.txt", (unsigned char *)_b, sizeof(_b), MIME_TEXT, FILE_HIDDEN},
{0} // end of list
};
