#include "platform/PathNoCase.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Files.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

// The entry of folder (file or folder) named name ignoring case; an exact match wins.
static std::optional<std::string> entryNoCase(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    std::string exact = JoinPath(folder, name);
    if (fs::exists(exact, ec)) return exact;
    std::optional<std::string> found;
    std::string foundName;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string n = it->path().filename().string();
        // The smallest matching name, so the result never depends on the listing order.
        if (EqualsNoCase(n, name) && (!found || n < foundName)) {
            foundName = n;
            found = JoinPath(folder, n);
        }
    }
    return found;
}

std::optional<std::string> ResolveNoCase(const std::string& folder, std::string_view relative)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : relative) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    if (parts.empty()) return std::nullopt;

    std::string path = folder;
    for (const std::string& p : parts) {
        if (p == "." ) continue;
        if (p == "..") return std::nullopt;
        auto next = entryNoCase(path, p);
        if (!next) return std::nullopt;
        path = *next;
    }
    return path;
}
