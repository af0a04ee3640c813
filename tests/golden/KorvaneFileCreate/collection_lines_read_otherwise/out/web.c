static const unsigned char _index[] = {
0x3c,0x70,0x3e,0x78,0x3c,0x2f,0x70,0x3e,0x0a,
};

static const unsigned char _ab[] = {
0x78,0x0a,
};

static const unsigned char _index_3[] = {
0x3c,0x70,0x3e,0x78,0x3c,0x2f,0x70,0x3e,0x0a,
};

static const unsigned char _ab_4[] = {
0x78,0x0a,
};

static const USER_FILE user_files[] = {
{"index.htm", (unsigned char *)_index, sizeof(_index), MIME_HTML, FILE_VISIBLE},
{"ab.htm", (unsigned char *)_ab, sizeof(_ab), MIME_CSS, FILE_VISIBLE},
{"index.htm", (unsigned char *)_index_3, sizeof(_index_3), MIME_HTML, FILE_VISIBLE},
{"ab.htm", (unsigned char *)_ab_4, sizeof(_ab_4), MIME_HTML, FILE_VISIBLE},
{0} // end of list
};
