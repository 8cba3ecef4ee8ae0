// Starting outside programs: arguments, folder, exit status, absence and the time limit.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include <sys/stat.h>

#include "platform/Files.h"
#include "platform/Process.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

TEST(Process, RunsInItsFolderWithArgumentsWhole)
{
    TempDir dir;
    std::string script = dir.Write("tool", "#!/bin/sh\nprintf '%s|' \"$@\" > out.txt\nexit 3\n");
    chmod(script.c_str(), 0755);
    ProcessResult r = RunProcess({script, "-de", "a path/with blanks.mdl", ""}, dir.Path(), 10s);
    EXPECT_EQ(r.outcome, ProcessOutcome::Exited);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(dir.Read("out.txt"), "-de|a path/with blanks.mdl||");

    std::string ok = dir.Write("ok", "#!/bin/sh\nexit 0\n");
    chmod(ok.c_str(), 0755);
    EXPECT_TRUE(RunProcess({ok}, "", 10s).Succeeded());
}

TEST(Process, AbsentOrUnrunnableProgramsDoNotStart)
{
    TempDir dir;
    EXPECT_EQ(RunProcess({dir.File("nwnmdlcomp.exe")}, dir.Path(), 1s).outcome, ProcessOutcome::NotStarted);
    std::string exe = dir.Write("nwnmdlcomp.exe", std::string("MZ\x90\0", 4));
    chmod(exe.c_str(), 0755);
    EXPECT_EQ(RunProcess({exe}, dir.Path(), 1s).outcome, ProcessOutcome::NotStarted) << "not a Linux program";
    std::string ok = dir.Write("ok", "#!/bin/sh\nexit 0\n");
    chmod(ok.c_str(), 0755);
    EXPECT_EQ(RunProcess({ok}, dir.File("no folder"), 1s).outcome, ProcessOutcome::NotStarted);
    EXPECT_EQ(RunProcess({}, dir.Path(), 1s).outcome, ProcessOutcome::NotStarted);
}

TEST(Process, AHangingProgramIsStoppedAtTheTimeLimit)
{
    TempDir dir;
    std::string script = dir.Write("slow", "#!/bin/sh\nsleep 20\ntouch late.txt\n");
    chmod(script.c_str(), 0755);
    auto t0 = std::chrono::steady_clock::now();
    ProcessResult r = RunProcess({script}, dir.Path(), 150ms);
    auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(r.outcome, ProcessOutcome::TimedOut);
    EXPECT_GE(took, 150ms);
    EXPECT_LT(took, 5s);
    EXPECT_FALSE(FileExists(dir.File("late.txt")));
}

TEST(Process, WhatAStoppedProgramStartedIsStoppedToo)
{
    // A child that shrugs off the polite stop would go on writing after the time limit.
    TempDir dir;
    std::string script = dir.Write("slow", "#!/bin/sh\n( trap '' TERM; sleep 1; touch late.txt ) &\nsleep 20\n");
    chmod(script.c_str(), 0755);
    EXPECT_EQ(RunProcess({script}, dir.Path(), 300ms).outcome, ProcessOutcome::TimedOut);
    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(FileExists(dir.File("late.txt")));
}

TEST(Process, AnExitStatusThatCannotBeReadIsNoSuccess)
{
    // With SIGCHLD ignored the system reaps the program itself and keeps no status.
    TempDir dir;
    std::string script = dir.Write("fails", "#!/bin/sh\nexit 3\n");
    chmod(script.c_str(), 0755);
    auto old = std::signal(SIGCHLD, SIG_IGN);
    ProcessResult r = RunProcess({script}, dir.Path(), 10s);
    std::signal(SIGCHLD, old);
    EXPECT_EQ(r.outcome, ProcessOutcome::Unknown);
    EXPECT_FALSE(r.Succeeded());
}

}  // namespace
