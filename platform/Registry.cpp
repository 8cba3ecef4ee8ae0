#include "platform/Registry.h"

#include <cstdlib>
#include <filesystem>

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

static std::string trim(const std::string& s)
{
    auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

void Registry::load()
{
    sections_.clear();
    std::string text;
    if (!ReadWholeFile(path_, text)) return;
    Section* sec = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto nl = text.find('\n', pos);
        std::string line = trim(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        pos = nl == std::string::npos ? text.size() : nl + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            auto& s = sections_[LowerAscii(name)];
            if (s.name.empty()) s.name = name;
            sec = &s;
            continue;
        }
        auto eq = line.find('=');
        if (!sec || eq == std::string::npos) continue;
        std::string name = trim(line.substr(0, eq));
        sec->values[LowerAscii(name)] = {name, trim(line.substr(eq + 1))};
    }
}

bool Registry::save() const
{
    std::string out;
    for (const auto& [_, sec] : sections_) {
        out += "[" + sec.name + "]\n";
        for (const auto& [__, nv] : sec.values) out += nv.first + "=" + nv.second + "\n";
        out += "\n";
    }
    std::error_code ec;
    std::filesystem::create_directories(ParentFolder(path_), ec);
    return WriteFileAtomic(path_, out);
}

bool Registry::OpenKey(const std::string& key, bool canCreate)
{
    load();
    std::string lower = LowerAscii(key);
    auto it = sections_.find(lower);
    if (it == sections_.end()) {
        if (!canCreate) return false;
        sections_[lower].name = key;
        if (!save()) {
            sections_.erase(lower);
            return false;
        }
    }
    current_ = lower;
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
    auto s = sections_.find(current_);
    if (current_.empty() || s == sections_.end()) return std::nullopt;
    auto v = s->second.values.find(LowerAscii(name));
    if (v == s->second.values.end()) return std::nullopt;
    return v->second.second;
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
    auto s = sections_.find(current_);
    if (current_.empty() || s == sections_.end()) return false;
    s->second.values[LowerAscii(name)] = {name, value};
    return save();
}

bool Registry::WriteBool(const std::string& name, bool value)
{
    return write(name, value ? "1" : "0");
}

bool Registry::WriteString(const std::string& name, const std::string& value)
{
    return write(name, value);
}
