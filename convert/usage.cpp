#include "convert/usage.hpp"

// One literal, so that the text is one message for the manual-page check
// rather than a dozen; its lines are for people and may change.
void print_convert_usage(std::FILE* stream)
{
    std::fputs("Usage: KorvaneConvert INPUT OUTPUT -b\n"
               "         the records of INPUT flattened into one image, written alone\n"
               "       KorvaneConvert INPUT OUTPUT -m-MAGIC [-SUFFIX [-KEY [-SEED [-ROT]]]]\n"
               "         the image behind an upload header with the image magic MAGIC;\n"
               "         its CRCs also run over the SUFFIX bytes; KEY bytes encrypt it\n"
               "         with a key stream started at SEED, and it is rotated by ROT bytes\n"
               "       KorvaneConvert -v        print the banner line\n"
               "       KorvaneConvert --help    print this text\n"
               "\n"
               "MAGIC, SEED and ROT are four hex digits, SUFFIX and KEY hex digit pairs; the\n"
               "first character of arguments 3 to 7 is a place holder (-m- for argument 3).\n"
               "\n"
               "Records, the upload header, messages and exit codes: man KorvaneConvert\n",
               stream);
}
