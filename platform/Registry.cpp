#include "platform/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/Files.h"
#include "platform/Text.h"

Registry::Registry(std::string iniPath) : path_(std::move(iniPath)) {}

std::string Registry::DefaultPath()
{
    if (const char* p = std::getenv("TILVENNA_REGISTRY"); p && *p) return p;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = (xdg && *xdg) ? std::string(xdg)
                             : (home && *home) ? JoinPath(home, ".config")
                                               : std::string(".");
    return JoinPath(JoinPath(base, "tilvenna"), "registry.ini");
}

namespace {

constexpr auto npos = std::string::npos;

std::string_view trim(std::string_view s)
{
    auto b = s.find_first_not_of(" \t\r\n");
    if (b == npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool hasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != npos;
}

} // namespace

void Registry::load()
{
    lines_.clear();
    std::string text;
    if (!ReadWholeFile(path_, text)) return;
    crlf_ = text.find("\r\n") != npos;
    for (std::size_t pos = 0; pos < text.size();) {
        auto nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == npos ? npos : nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        pos = nl == npos ? text.size() : nl + 1;
    }
}

Registry::Spot Registry::find(const std::string& key, const std::string& name) const
{
    Spot spot;
    bool inKey = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = trim(lines_[i]);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            inKey = EqualsNoCase(line.substr(1, line.size() - 2), key);
            if (inKey) spot.insert = i + 1;
            continue;
        }
        auto eq = line.find('=');
        if (!inKey || eq == npos || line[0] == ';' || line[0] == '#') continue;
        spot.insert = i + 1;
        if (EqualsNoCase(trim(line.substr(0, eq)), name)) spot.value = i;
    }
    return spot;
}

bool Registry::Flush()
{
    if (!changed_) return true;
    std::string out;
    for (const auto& line : lines_) out += line + (crlf_ ? "\r\n" : "\n");
    std::error_code ec;
    std::filesystem::create_directories(ParentFolder(path_), ec);
    if (!WriteFileAtomic(path_, out)) return false;
    changed_ = false;
    return true;
}

bool Registry::OpenKey(const std::string& key, bool canCreate)
{
    // Reading the file again would drop changes not yet written.
    if (!changed_) load();
    if (key.empty() || hasLineBreak(key)) return false;
    if (find(key, {}).insert == npos) {
        if (!canCreate) return false;
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + key + "]");
        changed_ = true;
    }
    current_ = key;
    return true;
}

void Registry::CloseKey()
{
    current_.clear();
}

bool Registry::ValueExists(const std::string& name) const
{
    return ReadString(name).has_value();
}

std::optional<std::string> Registry::ReadString(const std::string& name) const
{
    if (current_.empty()) return std::nullopt;
    Spot spot = find(current_, name);
    if (spot.value == npos) return std::nullopt;
    const std::string& line = lines_[spot.value];
    return std::string(trim(std::string_view(line).substr(line.find('=') + 1)));
}

std::optional<bool> Registry::ReadBool(const std::string& name) const
{
    auto s = ReadString(name);
    int v = 0;
    if (!s || !TryStrToInt(*s, v)) return std::nullopt;
    return v != 0;
}

bool Registry::write(const std::string& name, const std::string& value)
{
    if (current_.empty() || name.empty() || hasLineBreak(value) || name.find_first_of("=\r\n") != npos) return false;
    Spot spot = find(current_, name);
    if (spot.insert == npos) return false;
    if (spot.value == npos) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(spot.insert), name + "=" + value);
    } else {
        // The name and the blanks around '=' stay as the user wrote them.
        std::string& line = lines_[spot.value];
        auto at = line.find_first_not_of(" \t", line.find('=') + 1);
        std::string changed = line.substr(0, at == npos ? line.size() : at) + value;
        if (changed == line) return true;
        line = std::move(changed);
    }
    changed_ = true;
    return true;
}

bool Registry::WriteBool(const std::string& name, bool value)
{
    return write(name, value ? "1" : "0");
}

bool Registry::WriteString(const std::string& name, const std::string& value)
{
    return write(name, value);
}
