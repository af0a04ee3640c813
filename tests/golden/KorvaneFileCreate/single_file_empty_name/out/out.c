static const unsigned char array[] = {
0x61,0x62,
};

