// KorvaneInspect run in the test's own process (for sweeps of thousands of
// inputs) or as installed, and collections made by the installed
// KorvaneFileCreate from random files and definitions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/common/test_support.hpp"

// inspect_main on a fresh run record, standard output captured; the working
// folder is restored afterwards (image mode enters the control file's folder).
RunResult inspect_here(const std::vector<std::string>& args);

RunResult inspect_installed(const std::vector<std::string>& args, const std::string& cwd = "");

struct CollectionFile {
    std::string path;    // as written in the control file ('?' for '-' on disk)
    std::string stored;  // the name the image holds
    std::string bytes;   // as on disk
    std::string data;    // as the image holds it (squeezed with -w)
    bool squeeze = false;
    unsigned type = 0;        // the byte the image holds
    unsigned visibility = 0;  // with bit 7
};

struct Collection {
    bool big_endian = false;
    bool four_byte_lengths = false;
    bool align = false;
    std::uint32_t base = 0;  // target address + FILE_HEADER_LEN
    std::vector<CollectionFile> files;
    std::string image;       // img.bin as KorvaneFileCreate -f wrote it
};

// Writes random files and ctl.txt into dir and runs -f ctl.txt img.bin there.
Collection make_collection(const ScratchDir& dir, unsigned seed);

