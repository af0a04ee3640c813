// The installed KorvaneFileCreate in the -f mode, where it stops: a missing
// entry, outputs that are inputs, failed writes and fixed capacities.
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

TEST(FileCollectionRefusals, StopsAtAnEntryThatCannotBeOpened)
{
    Scratch c;
    write_file(c.dir / "ctl.txt", "index.htm \nmissing.htm \nlogo.gif \n");
    for (bool existing : {false, true}) {
        if (existing) {
            write_file(c.dir / "c.bin", "earlier image");
            ASSERT_EQ(::symlink("c.bin", (c.dir / "c.c").c_str()), 0);  // refused as the image under another name
        }
        const auto before = folder_state(c.dir.path);
        RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, c.dir.path);
        EXPECT_EQ(r.exit_code, existing ? 4 : 2);
        EXPECT_EQ(r.out, existing ? "Output file could not be created. Terminating\n\n"
                                  : "Adding file _index \nSpecified input file number 2 not found. Terminating\n\n");
        EXPECT_EQ(folder_state(c.dir.path), before);
    }
}

TEST(FileCollectionRefusals, NeverDestroysAnInput)
{
    Scratch c;
    const std::string control = "index.htm \n";
    write_file(c.dir / "coll.c", control);
    write_file(c.dir / "ctl.txt", control);
    struct Case {
        std::string control;
        std::string image;
        int code;
        std::string out;
    };
    const Case cases[] = {
        {"ctl.txt", "ctl.txt", 4, "Output file ctl.txt is the same file as an input. Terminating\n\n"},
        {"coll.c", "coll.bin", 4, "Output file coll.c is the same file as an input. Terminating\n\n"},
    };
    for (const auto& k : cases) {
        RunResult r = filecreate({"-f", k.control, k.image}, c.dir.path);
        EXPECT_EQ(r.exit_code, k.code) << k.image;
        EXPECT_EQ(r.out, k.out);
        EXPECT_EQ(read_file(c.dir / k.control), control);
    }
    EXPECT_FALSE(file_exists(c.dir / "coll.bin"));

    // An entry that is an output which exists already, here through a link,
    // is found before any output is created (more in tests/golden).
    write_file(c.dir / "c.bin", "old image");
    ASSERT_EQ(::link((c.dir / "c.bin").c_str(), (c.dir / "hard.bin").c_str()), 0);
    ASSERT_EQ(::symlink("c.bin", (c.dir / "soft.bin").c_str()), 0);
    for (const std::string entry : {"hard.bin", "soft.bin"}) {
        write_file(c.dir / "links.txt", "index.htm \n" + entry + " \n");
        RunResult r = filecreate({"-f", "links.txt", "c.bin"}, c.dir.path);
        EXPECT_EQ(r.exit_code, 2);
        EXPECT_EQ(r.out, "Specified input file number 2 is an output file of this run. Terminating\n\n");
        EXPECT_EQ(read_file(c.dir / "c.bin"), "old image");
        EXPECT_FALSE(file_exists(c.dir / "c.c"));
    }

    // An entry naming an output that the run has not yet put in place is not there.
    write_file(c.dir / "self.txt", "index.htm \nout.bin \n");
    RunResult r = filecreate({"-f", "self.txt", "out.bin"}, c.dir.path);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "Adding file _index \nSpecified input file number 2 not found. Terminating\n\n");
    EXPECT_EQ(read_file(c.dir / "index.htm"), INDEX);
}

// Ways a run once lost a file, each now leaving every file as it was:
// the dependency file's temporary over the control file, an output listed
// after a line the first pass stopped at, the C source a link to the image,
// and a control file on a pipe that lists an output.
TEST(FileCollectionRefusals, LosesNoFile)
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
TEST(FileCollectionRefusals, StoppedRunLeavesNothing)
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

TEST(FileCollectionRefusals, FailedWriteIsReported)
{
    Scratch c;
    write_file(c.dir / "ctl.txt", "index.htm \n");
    ASSERT_EQ(::symlink("/dev/full", (c.dir / "c.c").c_str()), 0);
    RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, c.dir.path);
    EXPECT_EQ(r.exit_code, 4);
    EXPECT_EQ(r.out, "Adding file _index \nOutput file write failed. Terminating\n\n");
}

TEST(FileCollectionRefusals, CapacitiesAreRefusedWithCode10)
{
    ScratchDir dir;
    write_file(dir / "big.bin", std::string(70000, 'b'));
    write_file(dir / "over.bin", std::string(1048577, 'o'));
    write_file(dir / "a,b.htm", "x");
    write_file(dir / "ok.htm", "x");
    std::string many;
    for (int i = 0; i < 129; ++i) {
        many += "ok.htm \n";
    }
    struct Case {
        std::string control;
        std::string out;
    };
    const Case cases[] = {
        {"big.bin \n", "Adding file _big \nInput file big.bin longer than 65535 bytes needs #define MAX_FILE_LENGTH 4. Terminating\n\n"},
        {"over.bin \n", "Input file over.bin larger than 1048576 bytes. Terminating\n\n"},
        {"a,b.htm \n", "Specified input file number 1 has a comma or a double quote in its path. Terminating\n\n"},
        {"ok.htm -t=A,B\n", "Specified input file number 1 has a comma or a brace in an identifier. Terminating\n\n"},
        {"ok.htm -c={x}\n", "Specified input file number 1 has a comma or a brace in an identifier. Terminating\n\n"},
    };
    for (const auto& k : cases) {
        write_file(dir / "ctl.txt", k.control);
        RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, dir.path);
        EXPECT_EQ(r.exit_code, 10) << k.control;
        EXPECT_EQ(r.out, k.out) << k.control;
    }
    write_file(dir / "ctl.txt", many);
    RunResult r = filecreate({"-f", "ctl.txt", "c.bin"}, dir.path);
    EXPECT_EQ(r.exit_code, 10);
    EXPECT_NE(r.out.find("Specified input file number 129 exceeds the limit of 128 files. Terminating\n\n"),
              std::string::npos);

    // The same large file is fine with 4-byte length fields, even when the
    // definition comes after the last entry.
    write_file(dir / "ctl.txt", "big.bin \n#define MAX_FILE_LENGTH 4\n");
    EXPECT_EQ(filecreate({"-f", "ctl.txt", "c.bin"}, dir.path).exit_code, 0);
}

}  // namespace
