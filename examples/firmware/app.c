/* The application a loader starts: built as an executable, then turned into
   an image by korvane_upload_image straight from its ELF file. */
volatile unsigned int ticks;

int main(void)
{
    for (unsigned int i = 0; i < 10; ++i) {
        ticks += i;
    }
    return (int)(ticks & 1u);
}
