static const unsigned char array[] = {
0x00,0xff,0x10,
};

