// The generated C compiled as a firmware build compiles it (cc -std=c99 -Wall
// -Wextra -Werror) and run: the user_files table holds the files, colliding
// array names are numbered, and every path reads in C as the image stores it.
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/filecreate/collection_files.hpp"
#include "formats/collection_layout.hpp"

namespace {

std::string hex(const std::string& s)
{
    std::string h;
    char b[3];
    for (unsigned char ch : s) {
        std::snprintf(b, sizeof b, "%02x", ch);
        h += b;
    }
    return h;
}

// Prints every row of the user_files table of coll.c: name, size, type, and
// the data in hex.
const std::string TABLE_DUMP =
    "#include <stdio.h>\n"
    "typedef struct { const char *name; unsigned char *data; unsigned long size;"
    " int type; int visibility; } USER_FILE;\n"
    "#define MIME_HTML 1\n#define MIME_GIF 2\n#define FILE_VISIBLE 1\n"
    "#include \"coll.c\"\n"
    "int main(void) {\n"
    "  const USER_FILE *f;\n"
    "  unsigned long i;\n"
    "  for (f = user_files; f->name; ++f) {\n"
    "    printf(\"%s %lu %d:\", f->name, f->size, f->type);\n"
    "    for (i = 0; i < f->size; ++i) printf(\"%02x\", f->data[i]);\n"
    "    printf(\"\\n\");\n"
    "  }\n"
    "  return 0;\n"
    "}\n";

bool have_cc()
{
    return file_exists("/usr/bin/cc");
}

// Compiles source as check.c beside the generated C, runs it and gives what it printed.
std::string compile_and_run(const ScratchDir& dir, const std::string& source)
{
    write_file(dir / "check.c", source);
    RunResult cc = run_program("/usr/bin/cc", {"-std=c99", "-Wall", "-Wextra", "-Werror", "-o", "check", "check.c"},
                               dir.path);
    EXPECT_EQ(cc.exit_code, 0) << cc.out << cc.err;
    RunResult run = run_program(dir / "check", {}, dir.path);
    EXPECT_EQ(run.exit_code, 0);
    return run.out;
}

TEST(FileCollection, GeneratedSourceCompilesAndHoldsTheFiles)
{
    if (!have_cc()) {
        GTEST_SKIP() << "no C compiler";
    }
    Collection c;
    write_file(c.dir / "pages.txt", std::string(DEFINITIONS) + ENTRIES);
    ASSERT_EQ(filecreate({"-f", "pages.txt", "coll.bin"}, c.dir.path).exit_code, 0);
    EXPECT_EQ(compile_and_run(c.dir, TABLE_DUMP), "index.htm 11 1:" + hex("<p> hi</p>\r") + "\nlogo.gif 10 2:" +
                                                      hex(c.logo) + "\nxml?data 8 1:" + hex(c.xml) + "\n");
}

TEST(GeneratedC, CollidingArrayNamesGetTheEntryNumber)
{
    if (!have_cc()) {
        GTEST_SKIP() << "no C compiler";
    }
    Collection c;
    const std::string taken = " is taken by an earlier array, so it is named ";
    const std::string warning = "KorvaneFileCreate: warning: array name ";
    write_file(c.dir / "pages.txt",
               "#define MIME_HTML 1\n#define FILE_VISIBLE 1\nindex.htm \nlogo.gif \nindex.htm -w\n");
    RunResult r = filecreate({"-f", "pages.txt", "coll.bin"}, c.dir.path);
    EXPECT_EQ(r.out.find("Adding file _index \nAdding file _logo \nAdding file _index_3 \nOutput files"), 0u);
    EXPECT_EQ(r.err, warning + "_index of index.htm" + taken + "_index_3 (pages.txt, line 5)\n");
    EXPECT_EQ(compile_and_run(c.dir, TABLE_DUMP), "index.htm 15 1:" + hex(c.index) + "\nlogo.gif 10 1:" + hex(c.logo) +
                                                      "\nindex.htm 11 1:" + hex("<p> hi</p>\r") + "\n");
    // The same for the arrays of -fb, named or not ("array").
    write_file(c.dir / "logo.bmp", read_file(source_dir() + "/tests/data/bitmap/logo.bmp"));
    write_file(c.dir / "panel.txt", "logo.bmp \nlogo.bmp logo\nlogo.bmp \nlogo.bmp logo\n");
    r = filecreate({"-fb", "panel.txt", "coll.c"}, c.dir.path);
    EXPECT_EQ(r.err, warning + "array of logo.bmp" + taken + "array_3 (panel.txt, line 3)\n" + warning +
                         "logo of logo.bmp" + taken + "logo_4 (panel.txt, line 4)\n");
    compile_and_run(c.dir, "#include \"coll.c\"\nint main(void) { return sizeof array + sizeof logo + "
                           "sizeof array_3 + sizeof logo_4 != 4 * sizeof array; }\n");
    // A numbered name that is taken too: tests/golden/KorvaneFileCreate/*_taken_with_its_number.
}

// File names whose bytes no identifier holds, and names C reserves: every
// row compiles with its path and size; a reserved name is numbered.
TEST(GeneratedC, OddAndReservedNamesBecomeIdentifiers)
{
    if (!have_cc()) {
        GTEST_SKIP() << "no C compiler";
    }
    const std::pair<std::string, std::string> files[] = {
        {"jquery.min.js", "_jquery_min"},  {"debug-style.css", "_debug_style"}, {"v1.2/index.htm", "_v1_2_index"},
        {"a+@~'[;=(!&^*<b.htm", "_a_____________b"}, {"caf\xc3\xa9.htm", "_caf__"},
        {"Bool.htm", "_Bool_6"},           {"LP64.htm", "_LP64_7"},            {"_LINE__.htm", "__LINE___8"},
        {"_func__.htm", "__func___9"},     {"_v1_2_index.c", "__v1_2_index"},  {"Bool_6.htm", "_Bool_6_11"},
    };
    ScratchDir dir;
    ::mkdir((dir / "v1.2").c_str(), 0755);
    std::string control = "#define MIME_HTML 1\n#define FILE_VISIBLE 1\n";
    std::string adding;
    std::string dump;
    for (const auto& [path, name] : files) {
        write_file(dir / path, path);
        control += path + " \n";
        adding += "Adding file " + name + " \n";
        dump += path + " " + std::to_string(path.size()) + " 1:" + hex(path) + "\n";
    }
    write_file(dir / "coll.txt", control);
    RunResult r = filecreate({"-f", "coll.txt", "coll.bin"}, dir.path);
    ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_EQ(r.out.substr(0, adding.size()), adding);
    EXPECT_NE(r.err.find("array name __LINE__ of _LINE__.htm is taken"), std::string::npos) << r.err;
    EXPECT_EQ(compile_and_run(dir, TABLE_DUMP), dump);
}

// KORVANE_STRICT=1 (exactly) turns each warning into exit 12 after it.
TEST(GeneratedC, StrictTurnsEveryWarningIntoExit12)
{
    Collection c;
    write_file(c.dir / "logo.bmp", read_file(source_dir() + "/tests/data/bitmap/logo.bmp"));
    write_file(c.dir / "twice.txt", "#define MIME_HTML 1\n#define FILE_VISIBLE 1\nindex.htm \nindex.htm \n");
    write_file(c.dir / "undefined.txt", "index.htm \n");
    write_file(c.dir / "panel.txt", "logo.bmp \nlogo.bmp \n");
    write_file(c.dir / "option.txt", "#define MIME_HTML 1\n#define FILE_VISIBLE 1\nindex.htm -x\n");
    write_file(c.dir / "blank.txt", "#define MIME_HTML 1\n#define FILE_VISIBLE 1\nindex.htm -t MIME_HTML\n");
    write_file(c.dir / "lines.txt", "#define MIME_HTML 1\n#define FILE_VISIBLE 1\nrobots.txt\nindex.htm \n");
    write_file(c.dir / "numbers.txt", "#define MIME_HTML 0x01\n#define FILE_VISIBLE 1\n%0x2000\nindex.htm \n");
    const std::vector<std::string> runs[] = {{"-f", "twice.txt", "coll.bin"},  {"-f", "undefined.txt", "coll.bin"},
                                             {"-fb", "panel.txt", "coll.c"},   {"-f", "option.txt", "coll.bin"},
                                             {"-f", "blank.txt", "coll.bin"},  {"-f", "lines.txt", "coll.bin"},
                                             {"-f", "numbers.txt", "coll.bin"}};
    const std::string program = installed_program("KorvaneFileCreate");
    for (const auto& args : runs) {
        for (const char* value : {"1", "0", "yes"}) {
            std::vector<std::string> line = {std::string("KORVANE_STRICT=") + value, program};
            line.insert(line.end(), args.begin(), args.end());
            RunResult r = run_program("/usr/bin/env", line, c.dir.path);
            bool strict = value == std::string("1");
            EXPECT_EQ(r.exit_code, strict ? 12 : 0) << args[1] << value << r.out;
            EXPECT_NE(r.err.find("warning: "), std::string::npos) << args[1];
            EXPECT_EQ(r.out.ends_with("Warning treated as an error (KORVANE_STRICT=1). Terminating\n\n"), strict);
        }
    }
}

// Paths made of every byte that the control-file parser keeps in a name
// after its first full stop, cut at random: the C compiler must read each
// table string as the name that the image stores, the path as written.
TEST(GeneratedC, EveryPathReadsInCAsTheImageStoresIt)
{
    if (!have_cc()) {
        GTEST_SKIP() << "no C compiler";
    }
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        if (std::string_view("\t\n\r \x1a#%|-.\",/").find(static_cast<char>(b)) == std::string_view::npos) {
            bytes += static_cast<char>(b);
        }
    }
    std::mt19937 random(11);
    std::shuffle(bytes.begin(), bytes.end(), random);
    ScratchDir dir;
    std::vector<std::string> paths;
    std::string control;
    for (std::size_t used = 0; used < bytes.size();) {
        std::string path = "f" + std::to_string(paths.size()) + ".";
        for (std::size_t n = 1 + random() % 20; n > 0 && used < bytes.size(); --n) {
            path += bytes[used++];
            path += n > 1 && random() % 6 == 0 ? "/" : "";  // a folder; never "//" (a comment), never last
        }
        std::string on_disk = path;
        std::replace(on_disk.begin(), on_disk.end(), '?', '-');
        for (std::size_t slash = on_disk.find('/'); slash != std::string::npos; slash = on_disk.find('/', slash + 1)) {
            ::mkdir((dir / on_disk.substr(0, slash)).c_str(), 0755);
        }
        write_file(dir / on_disk, "x");
        paths.push_back(path);
        control += path + " \n";
    }
    write_file(dir / "coll.txt", control);
    ASSERT_EQ(filecreate({"-f", "coll.txt", "coll.bin"}, dir.path).exit_code, 0);

    std::istringstream dumped(compile_and_run(dir, TABLE_DUMP));
    std::string image = read_file(dir / "coll.bin");
    std::vector<CollectionRecord> records(paths.size());
    CollectionReading reading = read_collection_image(
        {reinterpret_cast<const unsigned char*>(image.data()), image.size()}, CollectionLayout{}, records);
    ASSERT_EQ(reading.count, paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string line;
        std::getline(dumped, line);
        EXPECT_EQ(line.substr(0, line.find(' ')), paths[i]) << hex(paths[i]);
        EXPECT_EQ(records[i].entry.name, paths[i]) << hex(paths[i]);
    }
}

}  // namespace
