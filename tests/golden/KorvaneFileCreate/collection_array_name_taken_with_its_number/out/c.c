static const unsigned char _index[] = {
0x61,0x62,
};

static const unsigned char _index_3[] = {
0x33,
};

