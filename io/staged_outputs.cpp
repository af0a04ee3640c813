#include "io/staged_outputs.hpp"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define O_CLOEXEC O_NOINHERIT
#define O_NONBLOCK 0
#endif

#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace {

constexpr std::size_t PATH_SIZE = 4096;  // the longest path the systems accept, with its NUL
constexpr int LINK_HOPS = 40;            // as many links as the system follows before ELOOP

// One output of the run. Nodes are made and unlinked only with the signals
// blocked, so the handler always reads a whole list.
struct Staged {
    Staged* next;
    int fd;
    FileIdentity replaced;  // the file the output replaces or is written to; unknown when new
    char* temp;             // the temporary; nullptr when written in place
    char* target;           // the output, or the file its links name
};

Staged* volatile staged_head = nullptr;
const char* program_name = "";
unsigned temp_number = 0;
bool refused_as_strict = false;

// KORVANE_STRICT=1 (exactly) makes the warning of an output written in place an error.
bool strict_now()
{
    const char* value = std::getenv("KORVANE_STRICT");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

#ifdef _WIN32
struct SignalMask {};
void block_signals(SignalMask&) {}
void restore_signals(const SignalMask&) {}
#else
struct SignalMask {
    sigset_t old;
};
void block_signals(SignalMask& mask)
{
    sigset_t stopping;
    sigemptyset(&stopping);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stopping, sig);
    }
    sigprocmask(SIG_BLOCK, &stopping, &mask.old);
}
void restore_signals(const SignalMask& mask) { sigprocmask(SIG_SETMASK, &mask.old, nullptr); }
#endif

// Only what is safe in a signal handler: unlink, then the signal's own
// ending, so the parent sees the run stopped by it.
extern "C" void remove_temporaries_and_stop(int sig)
{
    for (Staged* s = staged_head; s != nullptr; s = s->next) {
        if (s->temp != nullptr) {
            ::unlink(s->temp);
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

bool copy_path(char* to, const char* from, std::size_t length)
{
    if (length >= PATH_SIZE) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(to, from, length);
    to[length] = '\0';
    return true;
}

std::size_t folder_length(const char* path)
{
    const char* slash = std::strrchr(path, '/');
#ifdef _WIN32
    const char* back = std::strrchr(path, '\\');
    slash = back != nullptr && (slash == nullptr || back > slash) ? back : slash;
#endif
    return slash == nullptr ? 0 : static_cast<std::size_t>(slash - path) + 1;
}

// Follows symbolic links from path to the name of the file they lead to,
// which need not exist yet (writing through the link creates it).
bool resolve_links(const char* path, std::array<char, PATH_SIZE>& target)
{
    if (!copy_path(target.data(), path, std::strlen(path))) {
        return false;
    }
#ifndef _WIN32
    for (int hop = 0; hop < LINK_HOPS; ++hop) {
        struct stat st {};
        if (::lstat(target.data(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return true;
        }
        std::array<char, PATH_SIZE> link{};
        ssize_t length = ::readlink(target.data(), link.data(), link.size() - 1);
        if (length < 0) {
            return false;
        }
        std::size_t keep = link[0] == '/' ? 0 : folder_length(target.data());
        if (keep + static_cast<std::size_t>(length) >= PATH_SIZE) {
            errno = ENAMETOOLONG;
            return false;
        }
        copy_path(target.data() + keep, link.data(), static_cast<std::size_t>(length));
    }
    errno = ELOOP;
    return false;
#else
    return true;
#endif
}

// A new file beside target, under a name that no file has: the process
// number and a count, the file created exclusively, so that neither an
// existing file nor a link planted under a guessable name is ever opened.
int create_temporary(const char* target, std::array<char, PATH_SIZE>& temp)
{
    const int folder = static_cast<int>(folder_length(target));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int length = std::snprintf(temp.data(), temp.size(), "%.*s.korvane-%ld-%u.tmp", folder, target,
                                   static_cast<long>(::getpid()), ++temp_number);
        if (length < 0 || static_cast<std::size_t>(length) >= temp.size()) {
            errno = ENAMETOOLONG;
            return -1;
        }
        int fd = ::open(temp.data(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Records an output; with the signals already blocked by the caller.
bool remember(int fd, const char* temp, const char* target, FileIdentity replaced)
{
    std::size_t temp_size = temp == nullptr ? 0 : std::strlen(temp) + 1;
    std::size_t target_size = std::strlen(target) + 1;
    auto* node = static_cast<Staged*>(std::malloc(sizeof(Staged) + temp_size + target_size));
    if (node == nullptr) {
        errno = ENOMEM;
        return false;
    }
    char* names = reinterpret_cast<char*>(node + 1);
    node->fd = fd;
    node->replaced = replaced;
    node->temp = temp == nullptr ? nullptr : names;
    node->target = names + temp_size;
    if (temp != nullptr) {
        std::memcpy(node->temp, temp, temp_size);
    }
    std::memcpy(node->target, target, target_size);
    node->next = staged_head;
    staged_head = node;
    return true;
}

const Staged* staged_of(int fd)
{
    for (const Staged* s = staged_head; s != nullptr; s = s->next) {
        if (s->fd == fd) {
            return s;
        }
    }
    return nullptr;
}

// The temporary takes the owner (where the system lets it) and the mode of
// the file it replaces.
void keep_owner_and_mode(int fd, const char* target)
{
#ifndef _WIN32
    struct stat st {};
    if (::stat(target, &st) == 0) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only the superuser may give a file away: it then stays the run's.
        }
        ::fchmod(fd, st.st_mode & 07777);
    }
#else
    (void)fd;
    (void)target;
#endif
}

bool replace_file(const char* from, const char* to)
{
#ifdef _WIN32
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
#else
    return ::rename(from, to) == 0;
#endif
}

// Forgets every output; removes the temporaries from the first failed one on.
void release_all(const Staged* remove_from)
{
    bool removing = false;
    for (Staged* s = staged_head; s != nullptr;) {
        removing = removing || s == remove_from;
        if (removing && s->temp != nullptr) {
            ::unlink(s->temp);
        }
        Staged* next = s->next;
        staged_head = next;
        std::free(s);
        s = next;
    }
}

}  // namespace

void outputs_start(const char* program)
{
    program_name = program;
#ifdef _WIN32
    std::signal(SIGINT, remove_temporaries_and_stop);
    std::signal(SIGTERM, remove_temporaries_and_stop);
#else
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;  // started with the signal ignored (nohup): it stays so
        }
        struct sigaction action {};
        action.sa_handler = remove_temporaries_and_stop;
        sigemptyset(&action.sa_mask);
        for (int other : {SIGINT, SIGTERM, SIGHUP}) {
            sigaddset(&action.sa_mask, other);
        }
        ::sigaction(sig, &action, nullptr);
    }
#endif
}

int stage_output(const char* path)
{
    if (path == nullptr || path[0] == '\0') {
        errno = ENOENT;
        return -1;
    }
    std::array<char, PATH_SIZE> target{};
    if (!resolve_links(path, target)) {
        return -1;
    }
    FileIdentity replaced = identity_of_path(target.data());
    std::size_t size = 0;
    int probe = replaced.known ? ::open(target.data(), O_WRONLY | O_BINARY | O_CLOEXEC | O_NONBLOCK) : -1;
    bool regular = probe >= 0 && regular_file_size(probe, size);
    if (probe >= 0) {
        ::close(probe);
    } else if (replaced.known && errno != ENXIO) {
        return -1;  // read-only, or a folder: refused as creating it would be
    }
    SignalMask mask;
    block_signals(mask);
    std::array<char, PATH_SIZE> temp{};
    int fd = replaced.known && !regular ? -1 : create_temporary(target.data(), temp);
    const bool in_place = fd < 0;
    if (in_place) {
        // A device or FIFO cannot be replaced; a folder without room for a
        // temporary leaves only the output itself.
        restore_signals(mask);
        const bool warned = !replaced.known || regular;
        const bool strict = warned && strict_now();
        // Under strict an existing output is not opened at all (opening
        // truncates it); a new one that could be made goes again.
        fd = strict && replaced.known ? -1 : create_output(path);
        if (fd < 0 && !(strict && replaced.known)) {
            return -1;
        }
        if (warned) {
            std::fprintf(stderr, "%s: warning: no temporary file can be made beside %s, so it is written in place\n",
                         program_name, path);
        }
        if (strict) {
            if (fd >= 0) {
                ::close(fd);
                ::unlink(path);
            }
            refused_as_strict = true;
            errno = EACCES;
            return -1;
        }
        block_signals(mask);
        replaced = identity_of_fd(fd);
    } else if (replaced.known) {
        keep_owner_and_mode(fd, target.data());
    }
    if (!remember(fd, in_place ? nullptr : temp.data(), target.data(), replaced)) {
        ::close(fd);
        if (!in_place) {
            ::unlink(temp.data());
        }
        fd = -1;
    }
    restore_signals(mask);
    return fd;
}

bool opens_output(int in_fd, int out_fd)
{
    const Staged* s = staged_of(out_fd);
    return same_open_file(in_fd, out_fd) || (s != nullptr && same_identity(identity_of_fd(in_fd), s->replaced));
}

bool path_is_output(const char* path, int out_fd)
{
    const Staged* s = staged_of(out_fd);
    std::array<char, PATH_SIZE> target{};
    if (s == nullptr || path == nullptr || !resolve_links(path, target)) {
        return path_is_open_file(path, out_fd);
    }
    FileIdentity file = identity_of_path(target.data());
    return file.known ? same_identity(file, s->replaced) || path_is_open_file(path, out_fd)
                      : std::strcmp(target.data(), s->target) == 0;
}

bool commit_outputs()
{
    SignalMask mask;
    block_signals(mask);
    const Staged* failed = nullptr;
    for (const Staged* s = staged_head; s != nullptr && failed == nullptr; s = s->next) {
        if (s->temp != nullptr && !replace_file(s->temp, s->target)) {
            std::fprintf(stderr, "%s: %s could not be put in place: %s\n", program_name, s->target,
                         std::strerror(errno));
            failed = s;
        }
    }
    release_all(failed);
    restore_signals(mask);
    return failed == nullptr;
}

void discard_outputs()
{
    SignalMask mask;
    block_signals(mask);
    release_all(staged_head);
    restore_signals(mask);
}

bool output_refused_as_strict()
{
    return refused_as_strict;
}
