#include "platform/Process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

ProcessWaiter* currentWaiter = nullptr;

// Begin and End around a wait, End also when the wait is left by an exception.
class WaitScope {
public:
    WaitScope() : waiter_(currentWaiter) { if (waiter_) waiter_->Begin(); }
    ~WaitScope() { if (waiter_) waiter_->End(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
    void Poll() { if (waiter_) waiter_->Poll(); }

private:
    ProcessWaiter* waiter_;
};

enum class Wait { Ended, Running, Lost };

// Waits until pid has ended or the deadline has passed. The child is not reaped, so while
// it is a zombie its process group cannot be taken by another program. Lost when there is
// nothing to wait for (the status was taken elsewhere, as when SIGCHLD is ignored).
Wait waitForEnd(pid_t pid, std::chrono::steady_clock::time_point deadline, WaitScope& scope)
{
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        siginfo_t info{};
        int r = ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if (r == 0 && info.si_pid == pid) return Wait::Ended;
        if (r < 0 && errno != EINTR) return Wait::Lost;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return Wait::Running;
        scope.Poll();
        now = std::chrono::steady_clock::now();
        if (now >= deadline) return Wait::Running;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
}

// Reaps pid; true with its status when that worked.
bool reap(pid_t pid, int& status)
{
    pid_t r;
    do {
        r = ::waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    return r == pid;
}

}  // namespace

void SetProcessWaiter(ProcessWaiter* waiter)
{
    currentWaiter = waiter;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         std::chrono::milliseconds timeLimit)
{
    ProcessResult result;
    if (argv.empty() || argv[0].empty()) return result;

    // Everything the child needs is prepared before fork: after it, only calls that are
    // safe in a child of a threaded program are made.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const char* dir = workDir.empty() ? nullptr : workDir.c_str();

    // The child reports a failed chdir or exec through this pipe; a clean exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return result;

    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return result;
    }
    if (pid == 0) {
        // Its own process group, so a program stopped at the time limit takes its
        // children with it.
        ::setpgid(0, 0);
        int devnull = ::open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            ::dup2(devnull, 0);
            ::dup2(devnull, 1);
            ::dup2(devnull, 2);
        }
        int err = 0;
        if (dir && ::chdir(dir) != 0) err = errno;
        if (err == 0) {
            ::execv(args[0], args.data());
            err = errno;
        }
        ssize_t unused = ::write(report[1], &err, sizeof err);
        (void)unused;
        ::_exit(127);
    }

    ::setpgid(pid, pid);
    ::close(report[1]);
    int childErr = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &childErr, sizeof childErr);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);

    int status = 0;
    if (n == ssize_t(sizeof childErr)) {
        // Never ran: reap the child, which exits at once.
        reap(pid, status);
        return result;
    }

    WaitScope scope;
    Wait end = waitForEnd(pid, std::chrono::steady_clock::now() + timeLimit, scope);
    if (end == Wait::Running) {
        // A program that hangs is stopped with everything it started, so nobody reads a
        // file it is still writing.
        ::kill(-pid, SIGTERM);
        end = waitForEnd(pid, std::chrono::steady_clock::now() + std::chrono::seconds(2), scope);
        if (end != Wait::Lost) {
            ::kill(-pid, SIGKILL);
            reap(pid, status);
        }
        result.outcome = ProcessOutcome::TimedOut;
        return result;
    }
    if (end == Wait::Lost || !reap(pid, status)) {
        result.outcome = ProcessOutcome::Unknown;
        return result;
    }
    if (WIFEXITED(status)) {
        result.outcome = ProcessOutcome::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else {
        result.outcome = ProcessOutcome::Signalled;
    }
    return result;
}

namespace {

// The address space this process has mapped now; 0 when it cannot be told.
uint64_t addressSpaceInUse()
{
    unsigned long long pages = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    const bool read = std::fscanf(statm, "%llu", &pages) == 1;
    std::fclose(statm);
    return read ? pages * uint64_t(sysconf(_SC_PAGESIZE)) : 0;
}

// In the child: no more address space than the parent had plus the allowance.
void limitAddressSpace(uint64_t inUse, uint64_t allowance)
{
    if (!ChildAddressSpaceLimited)
        return;
    rlimit limit{};
    if (inUse == 0 || getrlimit(RLIMIT_AS, &limit) != 0)
        _exit(3);
    limit.rlim_cur = limit.rlim_max = std::min<rlim_t>(limit.rlim_cur, rlim_t(inUse + allowance));
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        _exit(3);
}

void sendAll(int fd, const std::string& bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(3);
        at += std::size_t(n);
    }
}

} // namespace

ChildResult RunInChild(const std::function<std::string()>& work, std::chrono::milliseconds timeLimit,
                       uint64_t maxOutput, uint64_t addressSpace)
{
    ChildResult result;
    const uint64_t inUse = addressSpaceInUse();
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)   // no program started meanwhile keeps it open
        return result;
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        // A caller killed while it waits takes the child with it; one that ended before
        // the request was made has already left it to another parent.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            _exit(3);
        limitAddressSpace(inUse, addressSpace);
        int status = 0;
        std::string out;
        try {
            out = work();
        } catch (const std::runtime_error& e) {
            out = e.what(), status = 2;
        } catch (...) {
            _exit(3);
        }
        sendAll(pipeEnds[1], out);
        _exit(status);   // no exit handlers: the parent's state is the parent's
    }
    ::close(pipeEnds[1]);
    if (child < 0) {
        ::close(pipeEnds[0]);
        return result;
    }
    std::string& out = result.output;
    std::optional<ChildOutcome> stopped;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    for (char buffer[65536];;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{pipeEnds[0], POLLIN, 0};
        const int polled = left.count() > 0 ? ::poll(&ready, 1, int(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        const ssize_t n = polled > 0 ? ::read(pipeEnds[0], buffer, sizeof buffer) : -1;
        if (polled > 0 && n < 0 && errno == EINTR)
            continue;
        if (n < 0 || out.size() + uint64_t(n) > maxOutput) {
            stopped = polled == 0 ? ChildOutcome::TimedOut : n < 0 ? ChildOutcome::Failed : ChildOutcome::TooMuch;
            break;
        }
        if (n == 0)
            break;
        // Grown by hand: the string's own doubling could reserve far past maxOutput.
        if (out.size() + std::size_t(n) > out.capacity())
            out.reserve(std::size_t(std::min<uint64_t>(maxOutput, std::max<uint64_t>(out.capacity() * 2, out.size() + n))));
        out.append(buffer, std::size_t(n));
    }
    ::close(pipeEnds[0]);
    if (stopped)
        ::kill(child, SIGKILL);
    int status = 0;
    const bool ended = reap(child, status) && WIFEXITED(status);
    if (!stopped && !(ended && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2)))
        stopped = ChildOutcome::Failed;
    if (stopped)
        out.clear();
    result.outcome = stopped ? *stopped : WEXITSTATUS(status) == 0 ? ChildOutcome::Done : ChildOutcome::Refused;
    return result;
}
