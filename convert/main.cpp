#include "upload_image.hpp"

int main(int argc, char** argv)
{
    return convert_main(argc, argv);
}
