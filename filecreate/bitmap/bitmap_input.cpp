#include "bitmap_input.hpp"

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::array<unsigned char, 1 << 16> chunk;

bool refill(BitmapInput& in)
{
    in.pos = 0;
    in.len = 0;
    for (;;) {
        ssize_t got = ::read(in.fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            in.failed = true;
            return false;
        }
        in.len = static_cast<std::size_t>(got);
        return got > 0;
    }
}

}  // namespace

void input_attach(BitmapInput& in, int fd)
{
    in = BitmapInput{};
    in.fd = fd;
}

bool input_take(BitmapInput& in, unsigned char* dest, std::size_t count)
{
    while (count > 0) {
        if (in.pos == in.len && !refill(in)) {
            return false;
        }
        std::size_t part = in.len - in.pos < count ? in.len - in.pos : count;
        std::memcpy(dest, chunk.data() + in.pos, part);
        in.pos += part;
        dest += part;
        count -= part;
    }
    return true;
}

bool input_skip(BitmapInput& in, std::size_t count)
{
    while (count > 0) {
        if (in.pos == in.len && !refill(in)) {
            return false;
        }
        std::size_t part = in.len - in.pos < count ? in.len - in.pos : count;
        in.pos += part;
        count -= part;
    }
    return true;
}

std::int64_t input_remaining(const BitmapInput& in)
{
    struct stat info {};
    if (::fstat(in.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    off_t position = ::lseek(in.fd, 0, SEEK_CUR);
    if (position < 0) {
        return -1;
    }
    std::int64_t rest = static_cast<std::int64_t>(info.st_size) - static_cast<std::int64_t>(position);
    if (rest < 0) {
        rest = 0;
    }
    return rest + static_cast<std::int64_t>(in.len - in.pos);
}
