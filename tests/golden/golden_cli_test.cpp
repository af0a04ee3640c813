// Runs every case folder tests/golden/<program>/<case>/ against the installed
// <program>. A case folder holds:
//   args    the arguments, one a line, each line ended by a line feed (an
//           empty file: no arguments; an empty line: an empty argument)
//   env     (optional) NAME=VALUE lines, each ended by a line feed, added to
//           the program's environment
//   in/     files copied into a fresh scratch folder, where the program runs;
//           a symbolic link stays a link and is compared by its target, never
//           read (it may name a device such as /dev/full)
//   stdout  everything it must print, byte for byte
//   stderr  (optional) everything it must print to standard error; without
//           the file standard error is not looked at. A symbolic link to
//           another case's file shares its text (the usage text).
//   exit    its exit code
//   out/    the files that must be in the scratch folder afterwards besides
//           those of in/, or in place of them, with their exact bytes
// Every other file of in/ must be left as it was, and no other file may appear.
// A cross build starts each program through the emulator that its CMake
// toolchain names (KORVANE_EMULATOR: the command's words, each a quoted string
// followed by a comma).
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

namespace fs = std::filesystem;

#ifndef KORVANE_EMULATOR
#define KORVANE_EMULATOR
#endif
const std::vector<std::string> EMULATOR = {KORVANE_EMULATOR};

struct GoldenCase {
    std::string program;
    std::string name;
    fs::path folder;
};

std::vector<GoldenCase> find_cases()
{
    std::vector<GoldenCase> cases;
    std::error_code missing;
    for (const auto& program : fs::directory_iterator(KORVANE_GOLDEN_DIR, missing)) {
        if (!program.is_directory()) {
            continue;
        }
        for (const auto& folder : fs::directory_iterator(program.path())) {
            if (folder.is_directory()) {
                cases.push_back({program.path().filename().string(), folder.path().filename().string(), folder.path()});
            }
        }
    }
    std::sort(cases.begin(), cases.end(), [](const GoldenCase& a, const GoldenCase& b) { return a.folder < b.folder; });
    return cases;
}

// Every file below folder, by its path relative to it, with its bytes (a
// symbolic link with its target).
std::map<std::string, std::string> files_below(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(folder, missing)) {
        const std::string name = fs::relative(entry.path(), folder).generic_string();
        if (entry.is_symlink()) {
            files[name] = "symbolic link to " + fs::read_symlink(entry.path()).string();
        } else if (!entry.is_directory()) {
            files[name] = read_file(entry.path().string());
        }
    }
    return files;
}

std::vector<std::string> argument_lines(const std::string& text)
{
    std::vector<std::string> args;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        args.push_back(text.substr(start, end - start));
    }
    return args;
}

// Names the case in test output instead of dumping its bytes.
void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.program << "/" << c.name;
}

struct GoldenCli : ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenCli, Run)
{
    const GoldenCase& c = GetParam();
    ScratchDir dir;
    if (fs::exists(c.folder / "in")) {
        fs::copy(c.folder / "in", dir.path, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    const std::map<std::string, std::string> before = files_below(dir.path);
    std::vector<std::string> command;
    if (fs::exists(c.folder / "env")) {
        command = argument_lines(read_file((c.folder / "env").string()));
        command.insert(command.begin(), "/usr/bin/env");
    }
    command.insert(command.end(), EMULATOR.begin(), EMULATOR.end());
    command.push_back(installed_program(c.program));
    for (std::string& arg : argument_lines(read_file((c.folder / "args").string()))) {
        command.push_back(std::move(arg));
    }
    const RunResult r = run_program(command[0], std::vector<std::string>(command.begin() + 1, command.end()), dir.path);
    EXPECT_EQ(r.out, read_file((c.folder / "stdout").string()));
    if (fs::exists(c.folder / "stderr")) {
        EXPECT_EQ(r.err, read_file((c.folder / "stderr").string()));
    }
    EXPECT_EQ(r.exit_code, std::stoi(read_file((c.folder / "exit").string())));

    std::map<std::string, std::string> expected = before;
    for (auto& [name, bytes] : files_below(c.folder / "out")) {
        expected[name] = bytes;
    }
    const std::map<std::string, std::string> after = files_below(dir.path);
    for (const auto& [name, bytes] : expected) {
        auto found = after.find(name);
        if (found == after.end()) {
            ADD_FAILURE() << name << " is missing";
        } else if (found->second != bytes) {
            ADD_FAILURE() << name << " differs: " << found->second.size() << " bytes, " << bytes.size() << " expected";
        }
    }
    for (const auto& [name, bytes] : after) {
        EXPECT_TRUE(expected.count(name) != 0) << name << " was not expected";
    }
}

std::string case_name(const ::testing::TestParamInfo<GoldenCase>& info)
{
    std::string name = info.param.program + "_" + info.param.name;
    for (char& ch : name) {
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCli, ::testing::ValuesIn(find_cases()), case_name);

}  // namespace
