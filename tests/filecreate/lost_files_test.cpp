// The installed KorvaneFileCreate in the -f mode: runs that once lost a file,
// failing or stopped by a signal, leave every file of the folder as it was.
#include <gtest/gtest.h>
#include <string>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/common/test_support.hpp"

namespace {

const std::string INDEX = "<p>  hi</p>\r\n\r\n";

RunResult filecreate(const std::vector<std::string>& args, const std::string& cwd)
{
    return run_program(installed_program("KorvaneFileCreate"), args, cwd);
}

// A scratch folder holding the page index.htm.
struct Scratch {
    ScratchDir dir;
    Scratch() { write_file(dir / "index.htm", INDEX); }
};

// Ways a run once lost a file, each now leaving every file as it was:
// the dependency file's temporary over the control file, an output listed
// after a line the first pass stopped at, the C source a link to the image,
// and a control file on a pipe that lists an output.
TEST(LostFiles, LosesNoFile)
{
    Scratch c;
    write_file(c.dir / "web.bin", "old image");
    write_file(c.dir / "web.c", "old C");
    write_file(c.dir / "ctl.tmp", "index.htm \n");
    write_file(c.dir / "long.txt", "index.htm \n" + std::string(127, 'p') + ".htm \nweb.c \n");
    write_file(c.dir / "out.txt", "index.htm \nweb.c \n");
    const std::string sh = "cat out.txt | " + installed_program("KorvaneFileCreate") + " -f /dev/stdin web.bin";
    struct Case {
        std::vector<std::string> args;
        std::string depfile;  // KORVANE_DEPFILE
        int code;
    };
    const Case cases[] = {
        {{"-f", "ctl.tmp", "web.bin"}, "ctl", 0},
        {{"-f", "long.txt", "web.bin"}, "", 10},
        {{"/bin/sh", "-c", sh}, "", 2},
        {{"-f", "ctl.tmp", "web.bin"}, "", 4},  // web.c made a link to web.bin below
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.args.back());
        if (k.code == 4) {
            ::unlink((c.dir / "web.c").c_str());
            ASSERT_EQ(::symlink("web.bin", (c.dir / "web.c").c_str()), 0);
        }
        ::setenv("KORVANE_DEPFILE", k.depfile.c_str(), 1);
        const auto before = folder_state(c.dir.path);
        RunResult r = k.args[0] == "/bin/sh" ? run_program(k.args[0], {k.args[1], k.args[2]}, c.dir.path)
                                             : filecreate(k.args, c.dir.path);
        ::unsetenv("KORVANE_DEPFILE");
        EXPECT_EQ(r.exit_code, k.code) << r.out << r.err;
        if (k.code == 0) {
            EXPECT_EQ(read_file(c.dir / "ctl.tmp"), "index.htm \n");
            EXPECT_TRUE(file_exists(c.dir / "ctl"));
            continue;
        }
        EXPECT_EQ(folder_state(c.dir.path), before);
    }
}

// Stopped by SIGTERM while it waits on a FIFO entry: no output, no temporary.
TEST(LostFiles, StoppedRunLeavesNothing)
{
    Scratch c;
    write_file(c.dir / "web.bin", "old image");
    write_file(c.dir / "ctl.txt", "index.htm \nwait.htm \n");
    ASSERT_EQ(::mkfifo((c.dir / "wait.htm").c_str(), 0600), 0);
    const auto before = folder_state(c.dir.path);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::chdir(c.dir.path.c_str());
        const std::string program = installed_program("KorvaneFileCreate");
        ::execl(program.c_str(), program.c_str(), "-f", "ctl.txt", "web.bin", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int fifo = ::open((c.dir / "wait.htm").c_str(), O_WRONLY);  // returns once the run has opened it
    ASSERT_GE(fifo, 0);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(fifo);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(folder_state(c.dir.path), before);
}

}  // namespace
