// Starting outside programs: arguments, folder, exit status, absence and the time limit.
#include <gtest/gtest.h>

#include <csignal>
#include <new>
#include <thread>

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/Process.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

std::string program(const TempDir& dir, const std::string& name, const std::string& bytes)
{
    const std::string path = dir.Write(name, bytes);
    chmod(path.c_str(), 0755);
    return path;
}

TEST(Process, RunsInItsFolderWithArgumentsWholeOrDoesNotStart)
{
    TempDir dir;
    const std::string tool = program(dir, "tool", "#!/bin/sh\nprintf '%s|' \"$@\" > out.txt\nexit 3\n");
    ProcessResult r = RunProcess({tool, "-de", "a path/with blanks.mdl", ""}, dir.Path(), 10s);
    EXPECT_EQ(r.outcome, ProcessOutcome::Exited);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(dir.Read("out.txt"), "-de|a path/with blanks.mdl||");
    const std::string ok = program(dir, "ok", "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(RunProcess({ok}, "", 10s).Succeeded());
    // Absent, not a Linux program, in no folder, or nothing to run.
    const std::string exe = program(dir, "nwnmdlcomp.exe", std::string("MZ\x90\0", 4));
    for (const auto& [argv, folder] : {std::pair{std::vector{dir.File("none.exe")}, dir.Path()},
                                       {{exe}, dir.Path()}, {{ok}, dir.File("no folder")}, {{}, dir.Path()}})
        EXPECT_EQ(RunProcess(argv, folder, 1s).outcome, ProcessOutcome::NotStarted) << folder;
}

TEST(Process, AHangingProgramIsStoppedAtTheTimeLimitWithWhatItStarted)
{
    // A child that shrugs off the polite stop would go on writing after the time limit.
    TempDir dir;
    const std::string slow = program(dir, "slow", "#!/bin/sh\n( trap '' TERM; sleep 1; touch late.txt ) &\nsleep 20\n");
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(RunProcess({slow}, dir.Path(), 300ms).outcome, ProcessOutcome::TimedOut);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 5s);
    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(FileExists(dir.File("late.txt")));
}

TEST(Process, AnExitStatusThatCannotBeReadIsNoSuccess)
{
    // With SIGCHLD ignored the system reaps the program itself and keeps no status.
    TempDir dir;
    const std::string fails = program(dir, "fails", "#!/bin/sh\nexit 3\n");
    auto old = std::signal(SIGCHLD, SIG_IGN);
    ProcessResult r = RunProcess({fails}, dir.Path(), 10s);
    std::signal(SIGCHLD, old);
    EXPECT_EQ(r.outcome, ProcessOutcome::Unknown);
    EXPECT_FALSE(r.Succeeded());
}

TEST(Process, WorkInAChildHasLittleAddressSpaceAndEndsWithItsCaller)
{
    // Allowed 64 MB beyond this process, the child gets no 256 MB (under AddressSanitizer
    // there is no limit, which would leave it no room to start).
    auto ask = [] { return std::string(std::unique_ptr<char[]>(new (std::nothrow) char[256 << 20]) ? "granted" : "refused"); };
    EXPECT_EQ(RunInChild(ask, 10s, 16, 64 << 20).output, ChildAddressSpaceLimited ? "refused" : "granted");
    // A caller killed while it waits: once its child has gone too (or ten seconds later, by
    // the child's alarm), nothing holds the pipe's other end.
    int alive[2];
    ASSERT_EQ(pipe(alive), 0);
    const pid_t caller = fork();
    if (caller == 0)
        _exit(RunInChild([&] { (void)!write(alive[1], "!", 1), alarm(10); for (;;) pause(); return std::string(); }, 60s, 16, 64 << 20).output.size());
    close(alive[1]);
    char c = 0;
    ASSERT_EQ(read(alive[0], &c, 1), 1);
    kill(caller, SIGKILL);
    waitpid(caller, nullptr, 0);
    pollfd ended{alive[0], POLLIN, 0};
    EXPECT_TRUE(poll(&ended, 1, 2000) == 1 && read(alive[0], &c, 1) == 0);
}

}  // namespace
