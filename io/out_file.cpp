#include "io/out_file.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>

void out_attach(OutFile& out, int fd)
{
    out.fd = fd;
    out.failed = false;
    out.used = 0;
}

bool write_all(int fd, const void* bytes, std::size_t count)
{
    auto next = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
#ifdef _WIN32
        // The C runtime of Windows takes the count as an unsigned int and
        // returns an int; a large block goes out in parts.
        std::size_t part = count > (1u << 30) ? (1u << 30) : count;
#else
        std::size_t part = count;
#endif
        ssize_t done = ::write(fd, next, part);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        next += done;
        count -= static_cast<std::size_t>(done);
    }
    return true;
}

namespace {

// A full disk or a device error marks the file failed for good.
void write_checked(OutFile& out, const unsigned char* bytes, std::size_t count)
{
    if (!out.failed && !write_all(out.fd, bytes, count)) {
        out.failed = true;
    }
}

}  // namespace

bool out_flush(OutFile& out)
{
    if (out.fd >= 0 && out.used > 0) {
        write_checked(out, out.data.data(), out.used);
    }
    out.used = 0;
    return !out.failed;
}

void out_put(OutFile& out, const void* bytes, std::size_t count)
{
    if (out.fd < 0) {
        return;
    }
    auto src = static_cast<const unsigned char*>(bytes);
    if (count >= out.data.size()) {
        // Large blocks bypass the buffer once what is pending has gone out.
        out_flush(out);
        write_checked(out, src, count);
        return;
    }
    if (out.used + count > out.data.size()) {
        out_flush(out);
    }
    std::memcpy(out.data.data() + out.used, src, count);
    out.used += count;
}

unsigned char* out_room(OutFile& out, std::size_t count)
{
    if (out.used + count > out.data.size()) {
        out_flush(out);
    }
    return out.data.data() + out.used;
}

bool out_close(OutFile& out)
{
    bool ok = out_flush(out);
    if (out.fd >= 0) {
        if (::close(out.fd) != 0) {
            out.failed = true;
            ok = false;
        }
        out.fd = -1;
    }
    return ok;
}
