#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include "platform/Stream.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

namespace {

// What a newly created file's permissions are: 0666 less the umask, which /proc tells
// without changing it for other threads.
mode_t newFileMode()
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Umask:", 0) == 0) return 0666 & ~mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0644;
}

// A uniquely named file beside a target, filled and then put in place; removed again unless
// it got there. mkstemp creates it exclusively, so no file already there is ever touched,
// neither a user's nor a second save's.
class TempBeside {
public:
    explicit TempBeside(const std::string& target)
        : path_(JoinPath(ParentFolder(target), "." + FileNameOf(target) + ".XXXXXX")), fd_(::mkstemp(path_.data())),
          made_(fd_ >= 0)
    {
    }
    ~TempBeside()
    {
        if (fd_ >= 0) ::close(fd_);
        if (made_) ::unlink(path_.c_str());
    }
    TempBeside(const TempBeside&) = delete;
    TempBeside& operator=(const TempBeside&) = delete;

    bool Ok() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    bool Write(const char* p, std::size_t n)
    {
        while (n > 0) {
            ssize_t w = ::write(fd_, p, n);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            p += w;
            n -= std::size_t(w);
        }
        return true;
    }

    bool CopyFrom(int in)
    {
        char buf[65536];
        for (;;) {
            ssize_t n = ::read(in, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return n == 0;
            if (!Write(buf, std::size_t(n))) return false;
        }
    }

    // Gives the file its permissions and gets its bytes onto the disk, so that the rename
    // never puts an empty or partial file in place after a crash.
    bool Finish(mode_t mode)
    {
        ::fchmod(fd_, mode); // best effort: some file systems keep no permissions
        bool ok = ::fsync(fd_) == 0;
        ok = ::close(fd_) == 0 && ok;
        fd_ = -1;
        return ok;
    }

    // The file now lives under the target's name.
    void Placed() { made_ = false; }

private:
    std::string path_;
    int fd_;
    bool made_;
};

} // namespace

std::string JoinPath(std::string_view folder, std::string_view name)
{
    while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
    std::string out(folder);
    if (out.empty()) return std::string(name);
    if (out.back() != '/') out.push_back('/');
    out.append(name);
    return out;
}

bool IsPlainFileName(std::string_view name)
{
    static constexpr std::string_view separatorsAndNul("/\\\0", 3);
    return !name.empty() && name != "." && name != ".." && name.find_first_of(separatorsAndNul) == std::string_view::npos;
}

std::optional<std::string> JoinFileName(std::string_view folder, std::string_view name)
{
    if (!IsPlainFileName(name)) return std::nullopt;
    return JoinPath(folder, name);
}

std::string ParentFolder(std::string_view path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

std::string FileNameOf(std::string_view path)
{
    auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsDirectory(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string NonFileKind(const std::string& path)
{
    struct stat st;
    // A path that cannot be looked at names nothing here: opening it fails on its own.
    if (::stat(path.c_str(), &st) != 0) return {};
    if (S_ISREG(st.st_mode)) {
        // The kernel's own files look regular, but are made up as they are read, whatever
        // size they show, and some (/proc/kmsg) wait for news that may never come.
        struct statfs fs;
        if (::statfs(path.c_str(), &fs) != 0) return {};
        switch (static_cast<unsigned long>(fs.f_type)) {
        case PROC_SUPER_MAGIC: return "a /proc entry";
        case SYSFS_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case BPF_FS_MAGIC:
        case EFIVARFS_MAGIC: return "a /sys entry";
        default: return {};
        }
    }
    if (S_ISDIR(st.st_mode)) return "a folder";
    if (S_ISFIFO(st.st_mode)) return "a named pipe";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
    if (S_ISSOCK(st.st_mode)) return "a socket";
    return "a special file";
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view extension)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (!it->is_regular_file(ec2)) continue;
        std::string name = it->path().filename().string();
        if (!extension.empty()) {
            if (name.size() < extension.size() ||
                !EqualsNoCase(std::string_view(name).substr(name.size() - extension.size()), extension))
                continue;
        }
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        std::string la = LowerAscii(a), lb = LowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::optional<std::string> FindNoCase(const std::string& folder, std::string_view name)
{
    auto exact = JoinFileName(folder, name);
    if (!exact) return std::nullopt;
    if (FileExists(*exact)) return exact;
    for (const auto& n : ListFiles(folder))
        if (EqualsNoCase(n, name)) return JoinPath(folder, n);
    return std::nullopt;
}

bool CopyNoOverwrite(const std::string& src, const std::string& dst)
{
    std::error_code ec;
    if (!FileExists(src) || fs::exists(fs::symlink_status(dst, ec))) return false;
    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    // Copy beside the target first, so that a copy that fails half way (a full disk) leaves
    // no partial file under the target's name.
    TempBeside tmp(dst);
    struct stat st;
    bool ok = tmp.Ok() && ::fstat(in, &st) == 0 && tmp.CopyFrom(in);
    ::close(in);
    if (!ok || !tmp.Finish(st.st_mode & 07777)) return false;
    // Both link() and RENAME_NOREPLACE refuse a target that exists, so a file that appeared
    // meanwhile is never replaced; the second serves file systems without hard links.
    if (::link(tmp.Path().c_str(), dst.c_str()) == 0) return true;
    if (errno == EEXIST ||
        ::renameat2(AT_FDCWD, tmp.Path().c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) != 0)
        return false;
    tmp.Placed();
    return true;
}

bool RemoveFile(const std::string& path)
{
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool RenameFile(const std::string& from, const std::string& to, std::error_code* why)
{
    std::error_code ec;
    if (!fs::exists(from, ec)) {
        if (!ec) ec = make_error_code(std::errc::no_such_file_or_directory);
    } else {
        fs::rename(from, to, ec);
    }
    if (why) *why = ec;
    return !ec;
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    // A named pipe or a device may never end; a folder holds no bytes.
    if (!NonFileKind(path).empty()) return false;
    try {
        FileStream in(path, FileStream::Mode::OpenRead);
        out = in.ReadString(std::size_t(in.Size()));
        return true;
    } catch (const IoError&) {
        return false;
    }
}

namespace {
// The file a write to path lands in: a link is written through to the file it names.
std::optional<std::string> WriteTarget(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    auto target = fs::canonical(path, ec);
    if (ec) return std::nullopt;
    return target.string();
}
} // namespace

StagedFile::StagedFile(const std::string& requested, std::string_view data)
{
    const auto path = WriteTarget(requested);
    if (!path) {
        error_ = make_error_code(std::errc::no_such_file_or_directory);
        return;
    }
    // The file keeps its permissions; a new one gets the usual ones.
    struct stat st;
    const mode_t mode = ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode) ? st.st_mode & 07777 : newFileMode();
    errno = 0;
    TempBeside tmp(*path);
    if (!tmp.Ok() || !tmp.Write(data.data(), data.size()) || !tmp.Finish(mode)) {
        error_ = std::error_code(errno ? errno : EIO, std::generic_category());
        return;
    }
    tmp.Placed();
    temp_ = tmp.Path();
}

StagedFile::~StagedFile()
{
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool StagedFile::Commit(const std::string& requested)
{
    const auto path = WriteTarget(requested);
    if (temp_.empty()) return false;
    if (!path || ::rename(temp_.c_str(), path->c_str()) != 0) {
        error_ = std::error_code(path && errno ? errno : ENOENT, std::generic_category());
        return false;
    }
    temp_.clear();
    return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view data, std::error_code* why)
{
    StagedFile staged(path, data);
    const bool ok = staged.Ready() && staged.Commit(path);
    if (why) *why = ok ? std::error_code() : staged.Error();
    return ok;
}

std::string FileErrorText(std::string_view what, std::string_view path, std::error_code why)
{
    std::string text(what);
    text.append("\n").append(path);
    if (why) text += ": " + why.message();
    return text;
}

std::string WritableFolderOr(const std::string& preferred)
{
    if (!preferred.empty() && IsDirectory(preferred) && ::access(preferred.c_str(), W_OK) == 0) return preferred;
    std::error_code ec;
    auto tmp = fs::temp_directory_path(ec);
    return ec ? std::string("/tmp") : tmp.string();
}
