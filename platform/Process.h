#pragma once
// Starting an outside program and waiting for it. The program gets its arguments as a
// vector (paths may hold blanks), runs in the given folder with no terminal input or
// output, and is waited for no longer than the time limit.
#include <chrono>
#include <string>
#include <vector>

enum class ProcessOutcome {
    NotStarted,  // the program is absent, not executable, or the folder does not exist
    Exited,      // ended by itself; exitCode holds its status
    Signalled,   // ended by a signal
    TimedOut,    // still running at the time limit; it and its children were stopped
    Unknown,     // it ran, but its exit status could not be read
};

struct ProcessResult {
    ProcessOutcome outcome = ProcessOutcome::NotStarted;
    int exitCode = -1;
    bool Succeeded() const { return outcome == ProcessOutcome::Exited && exitCode == 0; }
};

// What the caller does while a program runs: a window keeps repainting and shows that it is
// busy. Begin and End bracket each wait; Poll comes every few milliseconds in between.
class ProcessWaiter {
public:
    virtual ~ProcessWaiter() = default;
    virtual void Begin() {}
    virtual void Poll() {}
    virtual void End() {}
};

// The waiter every RunProcess uses; none (nullptr) by default.
void SetProcessWaiter(ProcessWaiter* waiter);

// Runs argv[0] (a path; it is not searched for on PATH) with argv as its arguments, in
// workDir (the current folder when empty). An empty argv starts nothing.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         std::chrono::milliseconds timeLimit);
