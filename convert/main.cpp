#include "convert/convert_main.hpp"

int main(int argc, char** argv)
{
    return convert_main(argc, argv);
}
