static const unsigned char array[] = {
};

