// Helpers shared by the tests: running a program, scratch folders, files.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct RunResult {
    int exit_code = -1;   // exit status, or 128 + signal number when killed by a signal
    std::string out;      // everything printed to standard output
    std::string err;      // everything printed to standard error
};

// Runs program with args (argument 0 is the program itself) in folder cwd
// (empty: the current folder), standard input from /dev/null.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd = "");

// Runs entry (a program's main function on its own run record) in this
// process as program with args, standard output captured; the working folder
// is restored afterwards. For sweeps too large for a process per case.
using ProgramEntry = std::function<int(int argc, char** argv)>;
RunResult run_here(const std::string& program, const std::vector<std::string>& args, const ProgramEntry& entry);

// Path of an installed program of the staged installation ($KORVANE_BIN).
std::string installed_program(const std::string& name);

// Root of the source tree.
std::string source_dir();

// A fresh scratch folder, removed with everything in it when the object goes.
struct ScratchDir {
    std::string path;
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(std::string_view name) const { return path + "/" + std::string(name); }
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, std::string_view bytes);
bool file_exists(const std::string& path);

// A deterministic pseudo-random byte string (for test data, not for secrets).
std::string random_bytes(std::size_t count, unsigned seed);
