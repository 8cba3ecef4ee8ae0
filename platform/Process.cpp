#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Waits for pid until the deadline; true with status when it ended.
bool waitUntil(pid_t pid, std::chrono::steady_clock::time_point deadline, int& status)
{
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return true;
        if (r < 0 && errno != EINTR) return true;   // nothing left to wait for
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
}

}  // namespace

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
        ::waitpid(pid, &status, 0);
        return result;
    }

    if (!waitUntil(pid, std::chrono::steady_clock::now() + timeLimit, status)) {
        // A program that hangs is stopped, so nobody reads a file it is still writing.
        ::kill(-pid, SIGTERM);
        if (!waitUntil(pid, std::chrono::steady_clock::now() + std::chrono::seconds(2), status)) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        result.outcome = ProcessOutcome::TimedOut;
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
