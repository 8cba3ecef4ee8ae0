#include "model/Class.h"

#include <cctype>

#include "model/Tileset.h"
#include "platform/Text.h"

void CBase::WriteToSet(TextFile&, int) {}
void CBase::FillImportLists() {}

std::string GetIniValue(std::string_view line)
{
    auto eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    std::string_view v = line.substr(eq + 1);
    if (!v.empty() && v.back() == '\n') v.remove_suffix(1);
    return std::string(v);
}

namespace {
SetFindings* collecting = nullptr;
}

void NoteFinding(long line, std::string text)
{
    if (collecting) collecting->push_back({line, std::move(text)});
}

std::string QuoteLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    constexpr std::size_t shown = 60;
    if (line.size() > shown) return std::string(line.substr(0, shown)) + "...";
    return std::string(line);
}

CollectFindings::CollectFindings(SetFindings& into) : previous_(collecting)
{
    collecting = &into;
}

CollectFindings::~CollectFindings()
{
    collecting = previous_;
}

int NumberKey(const TextFile& file, std::string_view line)
{
    const std::string value = GetIniValue(line);
    int n = 0;
    if (TryStrToInt(value, n)) return n;
    n = NumberValue(value);
    NoteFinding(file.LineNumber(), QuoteLine(line) + Format(": no whole number, read as %d", n));
    return n;
}

uint8_t FlagKey(const TextFile& file, std::string_view line)
{
    return NumberKey(file, line) != 0 ? 1 : 0;
}

int NumberValue(std::string_view value)
{
    return LeadingInt(value);
}

uint8_t FlagValue(std::string_view value)
{
    return LeadingInt(value) != 0 ? 1 : 0;
}

bool ReadSectionLine(TextFile& file, std::string& line)
{
    // Whole lines: a long value read in pieces could leave a remainder that passes for a
    // header or an empty line and ends the section early.
    return file.ReadLine(line);
}

void WriteKey(TextFile& file, std::string_view format, std::string_view value, const KeyLines* keptKeys)
{
    const auto at = format.find("%s");
    std::string_view rest = at == std::string_view::npos ? std::string_view{} : format.substr(at + 2);
    file.Write(format.substr(0, at));
    if (at == std::string_view::npos) return;
    file.Write(value);
    const bool closes = rest.size() >= 2 && rest.substr(rest.size() - 2) == "\n\n";
    if (!closes) {
        file.Write(rest);
        return;
    }
    file.Write(rest.substr(0, rest.size() - 1));
    if (keptKeys) WriteUnknownKeys(file, *keptKeys);
    file.Write("\n");
}

bool EndsSection(std::string_view line)
{
    return !line.empty() && line[0] == '[';
}

bool BlankOrComment(std::string_view line)
{
    for (char c : line) {
        if (c == ';') return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

void KeepUnknownKey(KeyLines& keys, std::string_view line, long at)
{
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') return;
    auto eq = line.find('=');
    if (eq == 0 || eq == std::string_view::npos) {
        if (line.find_first_not_of(" \t\r") != std::string_view::npos)
            NoteFinding(at, QuoteLine(line) + ": no key line, dropped");
        return;
    }
    keys.emplace_back(line);
}

void WriteUnknownKeys(TextFile& file, const KeyLines& keys)
{
    for (const std::string& key : keys) {
        file.Write(key);
        file.Write("\n");
    }
}

void CGeneral::ReadFromSet(TextFile& file, bool grass)
{
    std::string line;
    for (;;) {
        long mark = file.Tell();
        if (!ReadSectionLine(file, line)) break;
        if (EndsSection(line)) {
            file.Seek(mark);
            break;
        }
        auto is = [&](const char* key, std::size_t n) { return StartsWithNoCase(line, key, n); };
        // An ordered chain: the first key that matches takes the line.
        if (is("Name", 4)) Name = GetIniValue(line);
        else if (is("Type", 4)) Type = GetIniValue(line);
        else if (is("Version", 7)) Version = GetIniValue(line);
        else if (is("Interior", 8)) Interior = FlagKey(file, line);
        else if (is("HasHeightTransition", 19)) HasHeightTransition = FlagKey(file, line);
        else if (is("EnvMap", 6)) EnvMap = GetIniValue(line);
        else if (is("Transition", 10)) Transition = GetIniValue(line);
        else if (is("DisplayName", 11)) DisplayName = GetIniValue(line);
        else if (is("UnlocalizedName", 14)) UnlocalizedName = GetIniValue(line);
        else if (is("Border", 6)) Border = GetIniValue(line);
        else if (is("Default", 7)) Default = GetIniValue(line);
        else if (is("Floor", 5)) Floor = GetIniValue(line);
        // The game's own files give the grass texture as GrassTextureName: a longer name is
        // another key, kept as it is, and never the grass flag turned off.
        else if (is("Grass", 5) && !(line.size() > 5 && std::isalpha(static_cast<unsigned char>(line[5]))))
            Grass = FlagKey(file, line);
        else if (is("Density", 7)) Density = GetIniValue(line);
        else if (is("Height", 5)) Height = GetIniValue(line);
        else if (is("AmbientRed", 10)) AmbientRed = GetIniValue(line);
        else if (is("AmbientGreen", 10)) AmbientGreen = GetIniValue(line);
        else if (is("AmbientBlue", 10)) AmbientBlue = GetIniValue(line);
        else if (is("DiffuseRed", 10)) DiffuseRed = GetIniValue(line);
        else if (is("DiffuseGreen", 10)) DiffuseGreen = GetIniValue(line);
        else if (is("DiffuseBlue", 10)) DiffuseBlue = GetIniValue(line);
        else KeepUnknownKey(grass ? UnknownGrassKeys : UnknownKeys, line, file.LineNumber());
    }
}

void CGeneral::WriteToSet(TextFile& f)
{
    f.Printf("[GENERAL]\n");
    WriteKey(f, "Name=%s\n", Name);
    WriteKey(f, "Type=%s\n", Type);
    WriteKey(f, "Version=%s\n", Version);
    f.Printf("Interior=%d\n", Interior ? 1 : 0);
    f.Printf("HasHeightTransition=%d\n", HasHeightTransition ? 1 : 0);
    WriteKey(f, "EnvMap=%s\n", EnvMap);
    WriteKey(f, "Transition=%s\n", Transition);
    if (!DisplayName.empty()) WriteKey(f, "DisplayName=%s\n", DisplayName);
    if (!UnlocalizedName.empty()) WriteKey(f, "UnlocalizedName=%s\n", UnlocalizedName);
    WriteKey(f, "Border=%s\n", Border);
    WriteKey(f, "Default=%s\n", Default);
    WriteKey(f, "Floor=%s\n\n", Floor, &UnknownKeys);
    f.Printf("[GRASS]\n");
    f.Printf("Grass=%d\n", Grass ? 1 : 0);
    if (!Grass) {
        // The grass values are left out, keys of other tools are not.
        WriteUnknownKeys(f, UnknownGrassKeys);
        f.Printf("\n");
        return;
    }
    WriteKey(f, "Density=%s\n", Density);
    WriteKey(f, "Height=%s\n", Height);
    WriteKey(f, "AmbientRed=%s\n", AmbientRed);
    WriteKey(f, "AmbientGreen=%s\n", AmbientGreen);
    WriteKey(f, "AmbientBlue=%s\n", AmbientBlue);
    WriteKey(f, "DiffuseRed=%s\n", DiffuseRed);
    WriteKey(f, "DiffuseGreen=%s\n", DiffuseGreen);
    WriteKey(f, "DiffuseBlue=%s\n\n", DiffuseBlue, &UnknownGrassKeys);
}

void CGeneral::FillMainLists()
{
    Views().FillGeneral(*this);
}

void CGeneral::ReadFromFrame()
{
    Views().ReadGeneralFromFrame(*this);
}
