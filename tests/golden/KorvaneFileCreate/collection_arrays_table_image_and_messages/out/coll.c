static const unsigned char _index[] = {
0x3c,0x70,0x3e,0x20,0x68,0x69,0x3c,0x2f,0x70,0x3e,0x0d,
};

static const unsigned char _logo[] = {
0x47,0x49,0x46,0x38,0x39,0x61,0x00,0x01,0x02,0xff,
};

static const unsigned char _xml_data[] = {
0x3c,0x78,0x3e,0x31,0x3c,0x2f,0x78,0x3e,
};

static const USER_FILE user_files[] = {
{"index.htm", (unsigned char *)_index, sizeof(_index), MIME_HTML, FILE_VISIBLE},
{"logo.gif", (unsigned char *)_logo, sizeof(_logo), MIME_GIF, FILE_VISIBLE},
{"xml?data", (unsigned char *)_xml_data, sizeof(_xml_data), MIME_HTML, FILE_VISIBLE},
{0} // end of list
};
