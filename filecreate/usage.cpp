#include "filecreate/usage.hpp"

// One literal, so that the text is one message for the manual-page check
// rather than a dozen; its lines are for people and may change.
void print_filecreate_usage(std::FILE* stream)
{
    std::fputs("Usage: KorvaneFileCreate INPUT OUTPUT.c [NAME]\n"
               "         one file into one C array, named NAME or array\n"
               "       KorvaneFileCreate -f CONTROL IMAGE\n"
               "         the files CONTROL lists into IMAGE and a C source beside it\n"
               "       KorvaneFileCreate -bm[n][i] BITMAP OUTPUT.c\n"
               "         one bitmap into a GLCD array (n inverts, i writes the last row first)\n"
               "       KorvaneFileCreate -fb CONTROL OUTPUT.c\n"
               "         every bitmap CONTROL lists into one C file\n"
               "       KorvaneFileCreate -v        print the version\n"
               "       KorvaneFileCreate --help    print this text\n"
               "\n"
               "Environment:\n"
               "  KORVANE_DEPFILE=FILE  after a successful run also write FILE: the outputs\n"
               "                        and every file read, as a dependency file for Make\n"
               "\n"
               "Control files, messages and exit codes: man KorvaneFileCreate\n",
               stream);
}
