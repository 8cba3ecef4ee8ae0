#pragma once
// A registry-like settings store over one INI-style text file. Sections are key paths as
// the editor names them ("SOFTWARE\Tilvenna"); names and key paths ignore letter case.
// The file is $TILVENNA_REGISTRY when set, else $XDG_CONFIG_HOME/tilvenna/registry.ini
// (falling back to ~/.config). Changes are collected and written by Flush, in one go,
// keeping every line the store did not change (comments, other keys) as it was.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class Registry {
public:
    explicit Registry(std::string iniPath = DefaultPath());
    static std::string DefaultPath();
    const std::string& FilePath() const { return path_; }

    // Opens a key; without canCreate a key that is not in the file fails. A created key
    // reaches the file with the next Flush.
    [[nodiscard]] bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool ValueExists(const std::string& name) const;
    std::optional<std::string> ReadString(const std::string& name) const;
    // A stored integer, any non-zero value true. Empty when absent or not an integer.
    std::optional<bool> ReadBool(const std::string& name) const;
    // Changes the open key's value, to be written by Flush. False when no key is open or
    // the value cannot be stored: a line break would end it early or start a section.
    [[nodiscard]] bool WriteBool(const std::string& name, bool value);
    [[nodiscard]] bool WriteString(const std::string& name, const std::string& value);
    // Writes the changes to the file atomically; true when there were none. False leaves
    // the file as it was and the changes waiting.
    [[nodiscard]] bool Flush();

private:
    // Where a key's values lie: the line holding name (npos when none) and the line after
    // the key's last value, where a new one goes (npos when the key is not in the file).
    struct Spot {
        std::size_t value = std::string::npos;
        std::size_t insert = std::string::npos;
    };
    Spot find(const std::string& key, const std::string& name) const;
    void load();
    bool write(const std::string& name, const std::string& value);

    std::string path_;
    std::vector<std::string> lines_; // the file's lines as written, without line ends
    bool crlf_ = false;              // the file ends its lines with CR LF
    bool changed_ = false;
    std::string current_;            // the open key; empty when none
};
