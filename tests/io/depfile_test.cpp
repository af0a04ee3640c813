// The dependency file: escaping that Make and Ninja read back, relative names
// and whole-or-nothing writing.
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <map>
#include <cerrno>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include "io/depfile.hpp"
#include "io/staged_outputs.hpp"
#include "tests/common/test_support.hpp"

namespace {

mode_t umask_now()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}


TEST(Depfile, EscapingRelativeNamesAndFailures)
{
    ScratchDir dir;
    char here[PATH_MAX];
    const std::string path = dir / "x.d", cwd = ::getcwd(here, sizeof here);  // the list keeps path's pointer
    const std::pair<std::string, std::string> names[] = {
        {"/a b", "/a\\ b"}, {"/h#a", "/h\\#a"}, {"/d$x", "/d$$x"}, {"/c:x", "/c\\:x"}, {"/x(1).c", "/x(1).c"},
        {"/in\\side", "/in\\side"}, {"/bs\\ sp", "/bs\\\\\\ sp"}, {"/b]!,@+~{}\xc3\xa9", "/b]!,@+~{}\xc3\xa9"},
        {"./sub/../o.c", cwd + "/sub/../o.c"}, {"../in", cwd.substr(0, cwd.rfind('/')) + "/in"},
    };
    DepfileList list;
    for (const auto& [name, written] : names) {
        depfile_start(list, path.c_str());
        depfile_add(list, DepRole::target, "/out put");
        depfile_add(list, DepRole::prerequisite, "/control");
        depfile_add(list, DepRole::prerequisite, name);
        depfile_add(list, DepRole::prerequisite, name);  // recorded once
        ASSERT_TRUE(depfile_write(list));
        ASSERT_TRUE(commit_outputs());
        EXPECT_EQ(read_file(path), "/out\\ put: \\\n /control \\\n " + written + "\n" + written + ":\n");
    }
    // Names Make and Ninja cannot both read back, and a list that lost a name:
    // refused, the earlier file kept, no temporary left.
    const auto before = folder_state(dir.path);
    for (const char* name : {"/line\nend", "/t\tx", "/p%x", "/a=b", "/a;b", "/q?", "/w[1]", "/s*", "/x\x7f", "/x(1)",
                             "/end\\", "/h\\#a", "/c\\:x", "/a&b", "/a'b", "/a|b", "/a\"b", "/a<b", "/a^b", "/a`b"}) {
        depfile_add(list, DepRole::prerequisite, name);
        EXPECT_FALSE(depfile_write(list)) << name;
        discard_outputs();
        EXPECT_EQ(folder_state(dir.path), before);
        depfile_start(list, path.c_str());
    }
    for (int i = 0; i < 130; ++i) {
        depfile_add(list, DepRole::prerequisite, "/" + std::to_string(i));
    }
    EXPECT_FALSE(depfile_write(list));
    EXPECT_EQ(folder_state(dir.path), before);
}

// What the writer of whole outputs does with the kinds of file an output can
// be: bytes and kind of every name compared after the run is put in place
// (or discarded).
TEST(StagedOutputs, ModesLinksAndSpecialFiles)
{
    ScratchDir dir;
    write_file(dir / "kept", "old");
    ::chmod((dir / "kept").c_str(), 0640);
    write_file(dir / "target", "old");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    write_file(dir / "one", "old");
    ASSERT_EQ(::link((dir / "one").c_str(), (dir / "two").c_str()), 0);
    auto stage_and_write = [&](const std::string& name) {
        int fd = stage_output((name[0] == '/' ? name : dir / name).c_str());
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::write(fd, "new", 3), 3);
        ::close(fd);
    };
    const auto before = folder_state(dir.path);
    for (const char* name : {"kept", "link", "one", "fresh"}) {
        stage_and_write(name);
    }
    discard_outputs();
    EXPECT_EQ(folder_state(dir.path), before);
    for (const char* name : {"kept", "link", "one", "fresh"}) {
        stage_and_write(name);
    }
    stage_and_write("/dev/null");  // written in place: nothing beside it to rename
    ASSERT_TRUE(commit_outputs());
    std::map<std::string, std::string> after = before;
    after["kept"] = std::to_string(S_IFREG | 0640) + " 1 file new";
    after["target"] = after["fresh"] = std::to_string(S_IFREG | (0666 & ~umask_now())) + " 1 file new";
    after["one"] = after["fresh"];  // a new file: the other name keeps the old bytes
    after["two"] = std::to_string(S_IFREG | (0666 & ~umask_now())) + " 1 file old";
    EXPECT_EQ(folder_state(dir.path), after);
}

#ifndef _WIN32
// As a user whom permissions bind (the superuser runs this as nobody): a
// read-only output is refused and keeps its bytes; a writable output in a
// folder that takes no new file is written in place, or under
// KORVANE_STRICT=1 refused with nothing changed.
TEST(StagedOutputs, ReadOnlyOutputAndFolderWithoutRoom)
{
    ScratchDir dir;
    ::mkdir((dir / "full").c_str(), 0755);
    write_file(dir / "full/out", "old");
    write_file(dir / "ro", "old");
    ::chmod((dir / "full/out").c_str(), 0666);
    ::chmod((dir / "full").c_str(), 0555);
    ::chmod((dir / "ro").c_str(), 0444);
    ::chmod(dir.path.c_str(), 0777);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        if (stage_output((dir / "ro").c_str()) >= 0 || errno != EACCES || output_refused_as_strict()) {
            ::_exit(3);
        }
        // Under KORVANE_STRICT=1 the in-place writing is refused before the output is opened.
        ::setenv("KORVANE_STRICT", "1", 1);
        if (stage_output((dir / "full/out").c_str()) >= 0 || !output_refused_as_strict() ||
            read_file(dir / "full/out") != "old") {
            ::_exit(5);
        }
        ::unsetenv("KORVANE_STRICT");
        int fd = stage_output((dir / "full/out").c_str());
        bool written = fd >= 0 && ::write(fd, "new", 3) == 3;
        ::_exit(written && ::close(fd) == 0 && commit_outputs() ? 0 : 4);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    EXPECT_EQ(read_file(dir / "ro"), "old");
    EXPECT_EQ(read_file(dir / "full/out"), "new");
    ::chmod((dir / "full").c_str(), 0755);
}
#endif

}  // namespace
