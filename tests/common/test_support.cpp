#include "tests/common/test_support.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

#ifndef _WIN32
std::string drain(int fd)
{
    std::string text;
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(n));
    }
    return text;
}
#endif

std::string env_or_fail(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr) {
        ADD_FAILURE() << name << " is not set; run the tests through ctest";
        return {};
    }
    return value;
}

}  // namespace

#ifdef _WIN32

// The Windows build runs only the tests that start no program; the programs
// themselves are compared with the Linux build by tests/windows.
RunResult run_program(const std::string& program, const std::vector<std::string>&, const std::string&)
{
    ADD_FAILURE() << "starting " << program << " is left to the comparison with the Linux build";
    return {};
}

RunResult run_here(const std::string& program, const std::vector<std::string>&, const ProgramEntry&)
{
    ADD_FAILURE() << program << " is run in-process by the Linux tests only";
    return {};
}

#else

RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd)
{
    RunResult result;
    // Standard error goes to a scratch file so that neither pipe can fill up
    // while the other is read.
    char err_name[] = "/tmp/korvane-stderr-XXXXXX";
    int err_fd = ::mkstemp(err_name);
    int out_pipe[2];
    if (err_fd < 0 || ::pipe(out_pipe) != 0) {
        ADD_FAILURE() << "cannot set up the child's output";
        return result;
    }
    ::unlink(err_name);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out_pipe[1], 1);
        ::dup2(err_fd, 2);
        int null_fd = ::open("/dev/null", O_RDONLY);
        ::dup2(null_fd, 0);
        ::close(out_pipe[0]);
        ::close(out_pipe[1]);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
            ::_exit(126);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out_pipe[1]);
    result.out = drain(out_pipe[0]);
    ::close(out_pipe[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ::lseek(err_fd, 0, SEEK_SET);
    result.err = drain(err_fd);
    ::close(err_fd);
    if (WIFEXITED(status)) {
        result.exit_code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.exit_code = 128 + WTERMSIG(status);
    }
    return result;
}

RunResult run_here(const std::string& program, const std::vector<std::string>& args, const ProgramEntry& entry)
{
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    char folder[4096];
    char out_name[] = "/tmp/korvane-stdout-XXXXXX";
    const int out_fd = ::mkstemp(out_name);
    if (::getcwd(folder, sizeof folder) == nullptr || out_fd < 0) {
        ADD_FAILURE() << "cannot capture standard output";
        return {};
    }
    ::unlink(out_name);
    std::fflush(stdout);
    const int saved = ::dup(1);
    ::dup2(out_fd, 1);
    RunResult result;
    result.exit_code = entry(static_cast<int>(words.size()), argv.data());
    std::fflush(stdout);
    ::dup2(saved, 1);
    ::close(saved);
    ::lseek(out_fd, 0, SEEK_SET);
    result.out = drain(out_fd);
    ::close(out_fd);
    EXPECT_EQ(::chdir(folder), 0);
    return result;
}

#endif

std::string installed_program(const std::string& name)
{
    return env_or_fail("KORVANE_BIN") + "/" + name;
}

std::string source_dir()
{
    return KORVANE_SOURCE_DIR;
}

ScratchDir::ScratchDir()
{
#ifdef _WIN32
    // No mkdtemp there: a name from a random number, tried until it is new.
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    std::random_device entropy;
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
        const auto name = base / ("korvane-test-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(name, error)) {
            path = name.generic_string();
        }
    }
    if (path.empty()) {
        ADD_FAILURE() << "cannot make a scratch folder";
    }
#else
    char name[] = "/tmp/korvane-test-XXXXXX";
    const char* made = ::mkdtemp(name);
    if (made == nullptr) {
        ADD_FAILURE() << "mkdtemp failed";
        return;
    }
    path = made;
#endif
}

ScratchDir::~ScratchDir()
{
    if (!path.empty()) {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        ADD_FAILURE() << "cannot write " << path;
    }
}

bool file_exists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

std::map<std::string, std::string> folder_state(const std::string& folder)
{
    std::map<std::string, std::string> state;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
#ifdef _WIN32
        // No lstat on Windows: the kind, permissions and link count through
        // the library, in the same shape.
        const auto status = std::filesystem::symlink_status(entry.path());
        const bool link = std::filesystem::is_symlink(status), regular = std::filesystem::is_regular_file(status);
        const std::string mode = std::to_string(static_cast<unsigned>(status.permissions()));
        const std::string links = regular ? std::to_string(std::filesystem::hard_link_count(entry.path())) : "1";
#else
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        const bool link = S_ISLNK(st.st_mode), regular = S_ISREG(st.st_mode);
        const std::string mode = std::to_string(st.st_mode), links = std::to_string(st.st_nlink);
#endif
        std::string kind = link      ? "link to " + std::filesystem::read_symlink(entry.path()).string()
                           : regular ? "file " + read_file(entry.path().string())
                                     : "other";
        state[name] = mode + " " + links + " " + kind;
    }
    return state;
}

std::string random_bytes(std::size_t count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string bytes(count, '\0');
    for (auto& b : bytes) {
        b = static_cast<char>(gen() & 0xFF);
    }
    return bytes;
}
