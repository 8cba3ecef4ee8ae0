#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
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
