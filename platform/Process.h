#pragma once
// Starting an outside program and waiting for it. The program gets its arguments as a
// vector (paths may hold blanks), runs in the given folder with no terminal input or
// output, and is waited for no longer than the time limit.
#include <chrono>
#include <cstdint>
#include <functional>
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

// What became of work done in a child process.
enum class ChildOutcome {
    Done,      // the work returned; output holds what it made
    Refused,   // the work threw a std::runtime_error; output holds its message
    Failed,    // the child crashed, ran out of memory, or could not be started
    TooMuch,   // it made more than maxOutput bytes; it was stopped
    TimedOut,  // still busy at the time limit; it was stopped
};

struct ChildResult {
    ChildOutcome outcome = ChildOutcome::Failed;
    std::string output;
};

// Whether RunInChild limits the child's address space: not under AddressSanitizer, whose
// shadow memory, reserved at start, no such limit leaves room for.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TILVENNA_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TILVENNA_ADDRESS_SANITIZER)
inline constexpr bool ChildAddressSpaceLimited = false;
#else
inline constexpr bool ChildAddressSpaceLimited = true;
#endif

// Runs work in a copy of this process, for outside code that a damaged file can crash or keep
// busy: such a file costs only the answer. The child ends when the thread that called this
// ends, may take addressSpace bytes of address space beyond what this process has now (when
// ChildAddressSpaceLimited), and is stopped at the time limit. The caller waits.
ChildResult RunInChild(const std::function<std::string()>& work, std::chrono::milliseconds timeLimit,
                       uint64_t maxOutput, uint64_t addressSpace);
