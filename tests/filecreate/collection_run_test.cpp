// The installed KorvaneFileCreate in the -f mode: control file in, C source
// and collection image out, read back the way firmware would read them.
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

#include "filecreate/c_source_name.hpp"
#include "tests/filecreate/collection_files.hpp"

namespace {

const std::string VERSION = "      KorvaneFileCreate V1.9\r\r\n";

struct LoadedFile {
    std::string name;
    std::string data;
    unsigned type;
    unsigned visibility;
};

std::uint32_t read_u32(const std::string& image, std::size_t offset, bool big_endian)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        auto b = static_cast<unsigned char>(image.at(offset + static_cast<std::size_t>(i)));
        v |= static_cast<std::uint32_t>(b) << (big_endian ? 24 - 8 * i : 8 * i);
    }
    return v;
}

// Reads a collection image as a loader does: the table location from the
// last four bytes, then header records until the all-zero end of the list.
std::vector<LoadedFile> load_image(const std::string& image, std::uint32_t base, bool big_endian,
                                   bool four_byte_lengths, bool align)
{
    std::vector<LoadedFile> files;
    std::uint32_t location = read_u32(image, image.size() - 4, big_endian);
    std::size_t p = location - base;
    for (;;) {
        std::uint32_t name_address = read_u32(image, p, big_endian);
        if (name_address == 0) {
            break;
        }
        std::uint32_t data_address = read_u32(image, p + 4, big_endian);
        std::uint32_t length = 0;
        if (four_byte_lengths) {
            length = read_u32(image, p + 8, big_endian);
            p += 12;
        } else {
            auto hi = static_cast<unsigned char>(image.at(p + (big_endian ? 8 : 9)));
            auto lo = static_cast<unsigned char>(image.at(p + (big_endian ? 9 : 8)));
            length = static_cast<std::uint32_t>(hi << 8 | lo);
            p += 10;
        }
        LoadedFile f;
        f.type = static_cast<unsigned char>(image.at(p));
        f.visibility = static_cast<unsigned char>(image.at(p + 1));
        p += 2;
        while (align && (base + p) % 4 != 0) {
            EXPECT_EQ(image.at(p), '\0') << "padding must be zero";
            ++p;
        }
        std::size_t name_at = name_address - base;
        f.name = image.substr(name_at, image.find('\0', name_at) - name_at);
        f.data = image.substr(data_address - base, length);
        files.push_back(f);
    }
    return files;
}

TEST(FileCollection, ArraysTableImageAndMessages)
{
    Collection c;
    write_file(c.dir / "pages.txt", std::string(DEFINITIONS) + ENTRIES);
    RunResult r = filecreate({"-f", "pages.txt", "coll.bin"}, c.dir.path);
    ASSERT_EQ(r.exit_code, 0) << r.out;

    const std::string squeezed_index = "<p> hi</p>\r";
    const std::uint32_t base = 0x20010;
    std::uint32_t names_end = base + static_cast<std::uint32_t>(squeezed_index.size() + c.logo.size() + c.xml.size()) +
                              10 + 9 + 9;
    std::uint32_t location = (names_end + 3) & ~3u;
    char closing[256];
    std::snprintf(closing, sizeof closing,
                  "Output files coll.bin and coll.c successfully created using%s\n"
                  "Embedded user file collection target address = 0x20000\n"
                  "Embedded user table location = 0x%x\n\n\n",
                  VERSION.c_str(), location);
    EXPECT_EQ(r.out, std::string("Adding file _index \nAdding file _logo \nAdding file _xml_data \n") + closing);

    std::string c_text = read_file(c.dir / "coll.c");
    const std::string table =
        "static const USER_FILE user_files[] = {\r\n"
        "{\"index.htm\", (unsigned char *)_index, sizeof(_index), MIME_HTML, FILE_VISIBLE},\r\n"
        "{\"logo.gif\", (unsigned char *)_logo, sizeof(_logo), MIME_GIF, FILE_VISIBLE},\r\n"
        "{\"xml?data\", (unsigned char *)_xml_data, sizeof(_xml_data), MIME_HTML, FILE_VISIBLE},\r\n"
        "{0} // end of list\r\n};\r\n";
    ASSERT_GE(c_text.size(), table.size());
    EXPECT_EQ(c_text.substr(c_text.size() - table.size()), table);
    EXPECT_EQ(c_text.find("static const unsigned char _index[] = {\r\n0x3c,0x70,0x3e,0x20,0x68,"), 0u);

    std::string image = read_file(c.dir / "coll.bin");
    EXPECT_EQ(read_u32(image, image.size() - 4, true), location);
    auto files = load_image(image, base, true, true, true);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "index.htm");
    EXPECT_EQ(files[0].data, squeezed_index);
    EXPECT_EQ(files[1].name, "logo.gif");
    EXPECT_EQ(files[1].data, c.logo);
    EXPECT_EQ(files[1].type, 2u);
    EXPECT_EQ(files[2].name, "xml?data");
    EXPECT_EQ(files[2].data, c.xml);
    for (const auto& f : files) {
        EXPECT_EQ(f.visibility, 0x81u);
    }
    EXPECT_EQ(files[0].type, 1u);

    // A rebuild over the outputs of the first run: the same bytes and messages.
    RunResult again = filecreate({"-f", "pages.txt", "coll.bin"}, c.dir.path);
    EXPECT_EQ(again.out, r.out);
    EXPECT_EQ(read_file(c.dir / "coll.c"), c_text);
    EXPECT_EQ(read_file(c.dir / "coll.bin"), image);
}

TEST(FileCollection, CSourceNameIsDerivedBesideTheImage)
{
    ScratchDir dir;
    write_file(dir / "empty.txt", "");
    ::mkdir((dir / "old.dir").c_str(), 0755);
    const std::pair<const char*, const char*> names[] = {
        {"coll.bin", "coll.c"},
        {"out.img.bin", "out.img.c"},
        {"old.dir/collection", "old.dir/collection.c"},
        {"noext", "noext.c"},
    };
    for (const auto& [image, c_name] : names) {
        RunResult r = filecreate({"-f", "empty.txt", image}, dir.path);
        EXPECT_EQ(r.exit_code, 0) << image;
        EXPECT_TRUE(file_exists(dir / c_name)) << image;
        EXPECT_EQ(read_file(dir / c_name), "static const USER_FILE user_files[] = {\r\n{0} // end of list\r\n};\r\n");
    }
    EXPECT_FALSE(file_exists(dir / "old.c"));

    RunResult same = filecreate({"-f", "empty.txt", "x.c"}, dir.path);
    EXPECT_EQ(same.exit_code, 4);
    EXPECT_EQ(same.out, "Output file could not be created. Terminating\n\n");
    EXPECT_FALSE(file_exists(dir / "x.c"));

    RunResult missing = filecreate({"-f", "empty.txt"}, dir.path);
    EXPECT_EQ(missing.exit_code, 4);
    EXPECT_EQ(missing.out, "Output file could not be created. Terminating\n\n");

    RunResult long_name = filecreate({"-f", "empty.txt", std::string(98, 'n') + ".bin"}, dir.path);
    EXPECT_EQ(long_name.exit_code, 10);
    EXPECT_EQ(long_name.out.find("C source file name for "), 0u);
    EXPECT_EQ(filecreate({"-f", "empty.txt", std::string(97, 'n') + ".bin"}, dir.path).exit_code, 0);
}

TEST(FileCollection, EmptyCollectionImage)
{
    ScratchDir dir;
    write_file(dir / "ctl.txt", "#define BIG_ENDIAN 1\n%20000001\n#define ALIGN 1\n");
    RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, dir.path);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "Output files c.bin and c.c successfully created using" + VERSION +
                         "\nEmbedded user file collection target address = 0x20000001\n"
                         "Embedded user table location = 0x20000004\n\n\n");
    EXPECT_EQ(read_file(dir / "c.bin"), std::string(3, '\0') + std::string(16, '\0') + "\x20\x00\x00\x04"s);
}

// The C source beside an image, on the names the build functions are tested on too.
TEST(CSourceName, AgreesWithTheBuildFunctions)
{
    std::istringstream lines(read_file(source_dir() + "/tests/data/c_source_names.txt"));
    int rows = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t tab = line.find('\t');
        std::array<char, C_SOURCE_NAME_SIZE> name{};
        ASSERT_TRUE(derive_c_source_name(line.substr(0, tab), name)) << line;
        EXPECT_EQ(name.data(), line.substr(tab + 1));
        ++rows;
    }
    EXPECT_GT(rows, 0);
}

}  // namespace
