#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/Stream.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

std::string JoinPath(std::string_view folder, std::string_view name)
{
    while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
    std::string out(folder);
    if (out.empty()) return std::string(name);
    if (out.back() != '/') out.push_back('/');
    out.append(name);
    return out;
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
    if (name.empty()) return std::nullopt;
    std::string exact = JoinPath(folder, name);
    if (FileExists(exact)) return exact;
    for (const auto& n : ListFiles(folder))
        if (EqualsNoCase(n, name)) return JoinPath(folder, n);
    return std::nullopt;
}

bool CopyNoOverwrite(const std::string& src, const std::string& dst)
{
    if (!FileExists(src)) return false;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dst, ec))) return false;
    // Copy beside the target first, so that a copy that fails half way (a full disk) leaves
    // no partial file under the target's name; then put it in place without overwriting.
    std::string tmp = dst + ".tmp~";
    if (!fs::copy_file(src, tmp, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(tmp, ec);
        return false;
    }
    bool placed = ::link(tmp.c_str(), dst.c_str()) == 0;
    if (!placed && errno != EEXIST && !fs::exists(fs::symlink_status(dst, ec))) {
        // File systems without hard links.
        fs::rename(tmp, dst, ec);
        placed = !ec;
    }
    fs::remove(tmp, ec);
    return placed;
}

bool RemoveFile(const std::string& path)
{
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool RenameFile(const std::string& from, const std::string& to)
{
    std::error_code ec;
    if (!fs::exists(from, ec)) return false;
    fs::rename(from, to, ec);
    return !ec;
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    try {
        FileStream in(path, FileStream::Mode::OpenRead);
        out = in.ReadString(std::size_t(in.Size()));
        return true;
    } catch (const IoError&) {
        return false;
    }
}

bool WriteFileAtomic(const std::string& requested, std::string_view data)
{
    // Write beside the real file, so that a link stays a link, and keep its permissions.
    std::error_code ec;
    std::string path = requested;
    if (fs::is_symlink(requested, ec)) {
        auto target = fs::canonical(requested, ec);
        if (ec) return false;
        path = target.string();
    }
    std::optional<fs::perms> perms;
    if (auto st = fs::status(path, ec); !ec && fs::is_regular_file(st)) perms = st.permissions();

    std::string tmp = path + ".tmp~";
    {
        std::FILE* f = std::fopen(tmp.c_str(), "wb");
        if (!f) return false;
        bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
        ok = (std::fflush(f) == 0) && ok;
        ok = (std::fclose(f) == 0) && ok;
        if (!ok) {
            std::remove(tmp.c_str());
            return false;
        }
    }
    if (perms) fs::permissions(tmp, *perms, fs::perm_options::replace, ec);
    fs::rename(tmp, path, ec);
    if (ec) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

std::string WritableFolderOr(const std::string& preferred)
{
    if (!preferred.empty() && IsDirectory(preferred) && ::access(preferred.c_str(), W_OK) == 0) return preferred;
    std::error_code ec;
    auto tmp = fs::temp_directory_path(ec);
    return ec ? std::string("/tmp") : tmp.string();
}
