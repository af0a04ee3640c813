#include "command_line.hpp"

int main(int argc, char** argv)
{
    return filecreate_main(argc, argv);
}
