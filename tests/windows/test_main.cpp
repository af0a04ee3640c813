// main of the Windows test programs. Test code opens its scratch files with
// plain open(), as on POSIX; binary by default there keeps their bytes as
// they are. The programs' own files get binary mode from io/ explicitly,
// which io_windows_test.cpp checks with the default put back to text.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

int main(int argc, char** argv)
{
    _fmode = _O_BINARY;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
