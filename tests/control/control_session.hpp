// A control file read entry by entry as the control-file loops read it, in
// a scratch folder with the entries' input files; shared by the parser tests.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "control/control_file.hpp"
#include "control/run_flags.hpp"
#include "tests/common/test_support.hpp"

// What a program's run keeps of the control file between calls.
struct ControlRun {
    ControlFile control;
    ControlSettings settings;
    std::uint32_t flags = OPT_WRITE_BANNER;
    EntryBuffers entry;
};

inline int open_fd_count()
{
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    while (dir != nullptr && ::readdir(dir) != nullptr) {
        ++count;
    }
    if (dir != nullptr) {
        ::closedir(dir);
    }
    return count;
}

// A control file in a scratch folder that is the current folder meanwhile,
// with input files whose contents are their own names on disk, so that the
// bytes read from a returned descriptor tell which file was opened.
struct Session {
    ScratchDir dir;
    std::string old_cwd;
    std::unique_ptr<ControlRun> run = std::make_unique<ControlRun>();
    ControlEntry last;  // what the last call handed back
    std::uint32_t& flags = run->flags;
    std::array<char, PATH_BUFFER_SIZE>& path = run->entry.path;
    std::array<char, MIME_BUFFER_SIZE>& mime = run->entry.mime;
    std::array<char, VISIBILITY_BUFFER_SIZE>& visibility = run->entry.visibility;

    Session(const std::string& text, const std::vector<std::string>& files)
    {
        char cwd[4096];
        old_cwd = ::getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        for (const std::string& name : files) {
            if (name.find('/') != std::string::npos) {
                ::mkdir((dir / name.substr(0, name.find('/'))).c_str(), 0755);
            }
            write_file(dir / name, name);
        }
        write_file(dir / "control.txt", text);
        EXPECT_EQ(::chdir(dir.path.c_str()), 0);
        control_attach(run->control, ::open("control.txt", O_RDONLY));
    }
    const char* array_name() const { return run->settings.array_name.data(); }
    // The notes handed out so far: "cause@line:text" each, blank-separated.
    std::string notes()
    {
        static const char* const causes[] = {"unknown_option", "identifier_dropped", "name_without_entry",
                                             "option_glued", "blank_in_name", "name_without_stop",
                                             "entry_dropped", "decimal_misread", "address_misread"};
        std::string all;
        ControlNote cause{};
        NoteAt at;
        while (take_control_note(run->control.notes, cause, at)) {
            all += (all.empty() ? "" : " ") + std::string(causes[static_cast<int>(cause)]) + "@" +
                   std::to_string(at.line) + ":" + (at.letter != 0 ? std::string(1, at.letter) : at.text.data());
        }
        return all;
    }
    std::int32_t lookup(const char* name) const { return lookup_definition(run->settings, name); }
    ~Session()
    {
        ::close(run->control.fd);
        EXPECT_EQ(::chdir(old_cwd.c_str()), 0);
    }
    // One call as the loop makes it; an opened file is read and closed.
    // Gives the file's contents, "missing", "end" or "capacity".
    std::string next()
    {
        flags &= ~OPT_PARAMETER_NAME;
        ControlEntry entry = next_control_entry(run->control, run->settings, flags, run->entry);
        last = entry;
        EXPECT_EQ((flags & OPT_END_OF_LIST) != 0, entry.status == EntryStatus::end_of_list);
        switch (entry.status) {
        case EntryStatus::end_of_list: return "end";
        case EntryStatus::over_capacity: return "capacity";
        case EntryStatus::file_missing: return "missing";
        case EntryStatus::entry: break;
        }
        char bytes[300] = {};
        ssize_t got = ::read(entry.fd, bytes, sizeof bytes - 1);
        ::close(entry.fd);
        return got > 0 ? std::string(bytes, static_cast<std::size_t>(got)) : "(empty)";
    }
};
