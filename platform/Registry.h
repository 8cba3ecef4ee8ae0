#pragma once
// A registry-like settings store over one INI-style text file. Sections are key paths as
// the editor names them ("SOFTWARE\Tilvenna"); names and key paths ignore letter case.
// The file is $TILVENNA_REGISTRY when set, else $XDG_CONFIG_HOME/tilvenna/registry.ini
// (falling back to ~/.config).
#include <map>
#include <optional>
#include <string>

class Registry {
public:
    explicit Registry(std::string iniPath = DefaultPath());
    static std::string DefaultPath();
    const std::string& FilePath() const { return path_; }

    // Opens a key; without canCreate a key that is not in the file fails.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool ValueExists(const std::string& name) const;
    std::optional<std::string> ReadString(const std::string& name) const;
    // A stored integer, any non-zero value true. Empty when absent or not an integer.
    std::optional<bool> ReadBool(const std::string& name) const;
    // Writes take effect in the file at once; false when it could not be written.
    bool WriteBool(const std::string& name, bool value);
    bool WriteString(const std::string& name, const std::string& value);

private:
    using Values = std::map<std::string, std::pair<std::string, std::string>>; // lower name -> (name, value)
    struct Section {
        std::string name;
        Values values;
    };
    void load();
    bool save() const;
    bool write(const std::string& name, const std::string& value);
    std::string path_;
    std::map<std::string, Section> sections_; // lower key path -> section
    std::string current_;                     // lower key path of the open key; empty when none
};
