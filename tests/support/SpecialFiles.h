#pragma once
// Paths that name no regular file: a named pipe, a socket.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A named pipe that can never hold a test: whoever opens it to read would wait for a writer
// for good, so while it lives a writer comes along, lets such a reader go on to the end of
// the pipe, and tells the test that someone waited.
class NamedPipe {
public:
    explicit NamedPipe(std::string path) : path_(std::move(path)), made_(::mkfifo(path_.c_str(), 0644) == 0)
    {
        if (made_) watcher_ = std::thread([this] { watch(); });
    }
    ~NamedPipe()
    {
        done_ = true;
        if (watcher_.joinable()) watcher_.join();
    }
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    bool Made() const { return made_; }
    const std::string& Path() const { return path_; }
    // Someone opened the pipe to read and waited for a writer.
    bool ReaderWaited() const { return waited_; }

private:
    void watch()
    {
        while (!done_) {
            // Opening to write without waiting succeeds only while a reader waits.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            struct stat st;
            if (fd >= 0) {
                // A file saved over the pipe opens too, and waits for nobody.
                if (::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode)) waited_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::string path_;
    bool made_;
    std::atomic<bool> done_{false}, waited_{false};
    std::thread watcher_;
};

// A socket file, as a program listening on one leaves it; false when none could be made.
inline bool MakeSocketFile(const std::string& path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    path.copy(addr.sun_path, path.size());
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool bound = s >= 0 && ::bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (s >= 0) ::close(s);
    return bound;
}
