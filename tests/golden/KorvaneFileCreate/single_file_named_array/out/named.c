static const unsigned char my_data[] = {
0x00,0xff,0x10,
};

