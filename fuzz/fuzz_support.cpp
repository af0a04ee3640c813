#include "fuzz/fuzz_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

const std::string& fuzz_scratch()
{
    static std::string path = [] {
        char name[] = "/tmp/korvane-fuzz-XXXXXX";
        const char* made = ::mkdtemp(name);
        if (made == nullptr || ::chdir(made) != 0) {
            std::abort();
        }
        // The tools report on standard output; thousands of runs a second
        // would only flood the console.
        int null_fd = ::open("/dev/null", O_WRONLY);
        ::dup2(null_fd, 1);
        return std::string(made);
    }();
    return path;
}

std::string fuzz_write(const char* name, const std::uint8_t* data, std::size_t size)
{
    std::string path = fuzz_scratch() + "/" + name;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::abort();
    }
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0) {
            std::abort();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
    return path;
}
