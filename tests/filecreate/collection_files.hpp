// The files of a small web collection and its control file, for the tests
// that run the installed KorvaneFileCreate in the -f mode on them.
#pragma once

#include <string>
#include <vector>

#include "tests/common/test_support.hpp"

inline RunResult filecreate(const std::vector<std::string>& args, const std::string& cwd)
{
    return run_program(installed_program("KorvaneFileCreate"), args, cwd);
}

struct Collection {
    ScratchDir dir;
    std::string index = "<p>  hi</p>\r\n\r\n";
    std::string logo = std::string("GIF89a\x00\x01\x02\xff", 10);
    std::string xml = "<x>1</x>";

    Collection()
    {
        write_file(dir / "index.htm", index);
        write_file(dir / "logo.gif", logo);
        write_file(dir / "xml-data.xml", xml);
    }
};

inline const char* DEFINITIONS =
    "// pages of the demo server\n"
    "#define FILE_HEADER_LEN 16\n"
    "#define ALIGN 1\n"
    "#define BIG_ENDIAN 1\n"
    "#define MAX_FILE_LENGTH 4\n"
    "#define MIME_HTML 1\n"
    "#define MIME_GIF 2\n"
    "#define FILE_VISIBLE 1\n"
    "%20000\n";
inline const char* ENTRIES =
    "index.htm -w\n"
    "logo.gif -t=MIME_GIF // title picture\n"
    "xml?data.xml -?\n";
