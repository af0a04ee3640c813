#include "tests/inspect/inspect_session.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "inspect/inspect_main.hpp"

RunResult inspect_here(const std::vector<std::string>& args)
{
    return run_here("KorvaneInspect", args, [](int argc, char** argv) {
        auto run = std::make_unique_for_overwrite<InspectRun>();
        const int code = inspect_main(*run, argc, argv);
        end_inspect_run(*run);
        return code;
    });
}

RunResult inspect_installed(const std::vector<std::string>& args, const std::string& cwd)
{
    return run_program(installed_program("KorvaneInspect"), args, cwd);
}

namespace {

// The -w rule, written out here as the expectation: the first byte of every
// run of CR, LF, blank and tab is kept.
std::string squeezed(const std::string& bytes)
{
    std::string kept;
    bool after_space = false;
    for (char b : bytes) {
        bool space = b == '\r' || b == '\n' || b == ' ' || b == '\t';
        if (!(space && after_space)) {
            kept.push_back(b);
        }
        after_space = space;
    }
    return kept;
}

}  // namespace

Collection make_collection(const ScratchDir& dir, unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    Collection c;
    c.big_endian = pick(2) == 1;
    c.four_byte_lengths = pick(2) == 1;
    c.align = pick(2) == 1;
    const unsigned header = std::vector<unsigned>{0, 3, 16}[pick(3)];
    const std::uint32_t target = random() & 0xFFFFFF;
    c.base = target + header;
    char address[16];
    std::snprintf(address, sizeof address, "%X", static_cast<unsigned>(target));
    std::string control = "#define BIG_ENDIAN " + std::to_string(c.big_endian) + "\n#define ALIGN " +
                          std::to_string(c.align) + "\n#define MAX_FILE_LENGTH " +
                          (c.four_byte_lengths ? "4" : "2") + "\n#define FILE_HEADER_LEN " +
                          std::to_string(header) + "\n%" + address +
                          "\n#define MIME_HTML 1\n#define MIME_B 300\n#define VIS_H 0\n#define FILE_VISIBLE 1\n";
    const unsigned count = 1 + pick(6);
    for (unsigned i = 0; i < count; ++i) {
        CollectionFile f;
        const bool xml = pick(5) == 0;
        f.path = xml ? "xml?s" + std::to_string(i) + ".xml" : "d/f" + std::to_string(i) + ".htm";
        f.stored = xml ? "xml?s" + std::to_string(i) : f.path;
        const std::string text = "a \t\r\n\n  b<>  " + random_bytes(pick(40), seed + i);
        f.bytes = pick(2) ? text + text : random_bytes(pick(300), seed * 7 + i);
        f.squeeze = pick(2) == 1;
        f.data = f.squeeze ? squeezed(f.bytes) : f.bytes;
        const bool other_type = pick(2) == 1;
        const bool hidden = pick(2) == 1;
        f.type = other_type ? 300 & 0xFF : 1;
        f.visibility = hidden ? 0x80 : 0x81;
        std::string disk = f.path;
        std::replace(disk.begin(), disk.end(), '?', '-');
        ::mkdir((dir / "d").c_str(), 0755);
        write_file(dir / disk, f.bytes);
        control += f.path + " " + (f.squeeze ? "-w " : "") + (other_type ? "-t=MIME_B " : "") +
                   (hidden ? "-c=VIS_H " : "") + (xml ? "-?" : "") + "\n";
        c.files.push_back(f);
    }
    write_file(dir / "ctl.txt", control);
    RunResult r = run_program(installed_program("KorvaneFileCreate"), {"-f", "ctl.txt", "img.bin"}, dir.path);
    EXPECT_EQ(r.exit_code, 0) << r.out;
    c.image = read_file(dir / "img.bin");
    return c;
}
