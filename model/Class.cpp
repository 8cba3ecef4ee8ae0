#include "model/Class.h"

#include <algorithm>
#include <cctype>
#include <map>

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

// The values given so far to each key of a section, by the key's name (the readers name
// keys by literals, which outlive every reading). A section has few keys: a list is fastest.
using GivenKeys = std::vector<std::pair<std::string_view, std::string>>;

struct CollectFindings::State {
    SetFindings* into;
    State* previous;
    std::string section;
    GivenKeys own;
    std::map<std::string, GivenKeys, std::less<>> byName;
    GivenKeys* given = &own;
};

namespace {
CollectFindings::State* collecting = nullptr;

// The line given to a key of a section: "the later value, x," or "the later, empty value".
std::string laterValue(std::string_view value)
{
    return value.empty() ? "the later, empty value" : "the later value, " + QuoteLine(value) + ",";
}
} // namespace

void NoteFinding(long line, std::string text)
{
    if (collecting) collecting->into->push_back({line, std::move(text)});
}

std::string QuoteLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    constexpr std::size_t shown = 60;
    if (line.size() > shown) return std::string(line.substr(0, shown)) + "...";
    return std::string(line);
}

CollectFindings::CollectFindings(SetFindings& into)
    : state_(std::make_unique<State>(State{&into, collecting, {}, {}, {}, nullptr}))
{
    state_->given = &state_->own;
    collecting = state_.get();
}

CollectFindings::~CollectFindings()
{
    collecting = state_->previous;
}

void NoteSection(std::string_view header, bool sharesKeysByName)
{
    if (!collecting) return;
    collecting->section = header;
    if (sharesKeysByName) {
        collecting->given = &collecting->byName[UpperAscii(header)];
    } else {
        collecting->own.clear();
        collecting->given = &collecting->own;
    }
}

void NoteKey(std::string_view key, std::string_view value, long line)
{
    if (!collecting) return;
    GivenKeys& given = *collecting->given;
    auto it = std::find_if(given.begin(), given.end(), [&](const auto& k) { return k.first == key; });
    if (it == given.end()) {
        given.emplace_back(key, value);
        return;
    }
    if (it->second == value) return; // the same value again changes nothing
    const std::string& in = collecting->section.empty() ? std::string("its section") : collecting->section;
    NoteFinding(line, std::string(key) + " is given twice in " + in + "; " + laterValue(value) + " is kept");
    it->second = value;
}

int NumberKey(const TextFile& file, std::string_view line, std::string_view key)
{
    const std::string value = GetIniValue(line);
    NoteKey(key, value, file.LineNumber());
    int n = 0;
    if (TryStrToInt(value, n)) return n;
    n = NumberValue(value);
    NoteFinding(file.LineNumber(), QuoteLine(line) + Format(": no whole number, read as %d", n));
    return n;
}

uint8_t FlagKey(const TextFile& file, std::string_view line, std::string_view key)
{
    return NumberKey(file, line, key) != 0 ? 1 : 0;
}

std::string TextKey(const TextFile& file, std::string_view line, std::string_view key)
{
    std::string value = GetIniValue(line);
    NoteKey(key, value, file.LineNumber());
    return value;
}

int NumberValue(std::string_view value)
{
    return LeadingInt(value);
}

uint8_t FlagValue(std::string_view value)
{
    return LeadingInt(value) != 0 ? 1 : 0;
}

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}
} // namespace

void IniLine(std::string& line)
{
    const std::size_t end = line.size() - (line.ends_with('\n') ? 1 : 0);
    const std::size_t eq = line.find('=');
    // Most lines have no blank to drop: they stay as they are, without a copy.
    const bool blankAt[] = {end > 0 && isBlank(line[0]), end > 0 && isBlank(line[end - 1]),
                            eq != std::string::npos && eq > 0 && isBlank(line[eq - 1]),
                            eq != std::string::npos && eq + 1 < end && isBlank(line[eq + 1])};
    if (std::none_of(std::begin(blankAt), std::end(blankAt), [](bool b) { return b; }) || BlankOrComment(line))
        return;
    const std::string_view text = std::string_view(line).substr(0, end);
    std::string out(trimmed(text.substr(0, eq)));
    // A header keeps what follows its ']' (the file reader looks only as far as that).
    if (out.starts_with('[')) out = text.substr(text.find('['));
    else if (eq != std::string::npos) out.append("=").append(trimmed(text.substr(eq + 1)));
    if (end < line.size()) out += '\n';
    line = std::move(out);
}

bool ReadSectionLine(TextFile& file, std::string& line)
{
    // Whole lines: a long value read in pieces could leave a remainder that passes for a
    // header or an empty line and ends the section early.
    if (!file.ReadLine(line)) return false;
    // Text editors may start a file saved as UTF-8 with a byte-order mark; the game and the
    // editor write none.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (file.LineNumber() == 1 && line.starts_with(byteOrderMark)) line.erase(0, byteOrderMark.size());
    IniLine(line);
    return true;
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
    if (BlankOrComment(line)) return;
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
        auto text = [&](const char* key) { return TextKey(file, line, key); };
        auto flag = [&](const char* key) { return FlagKey(file, line, key); };
        // An ordered chain: the first key that matches takes the line.
        if (is("Name", 4)) Name = text("Name");
        else if (is("Type", 4)) Type = text("Type");
        else if (is("Version", 7)) Version = text("Version");
        else if (is("Interior", 8)) Interior = flag("Interior");
        else if (is("HasHeightTransition", 19)) HasHeightTransition = flag("HasHeightTransition");
        else if (is("EnvMap", 6)) EnvMap = text("EnvMap");
        else if (is("Transition", 10)) Transition = text("Transition");
        else if (is("DisplayName", 11)) DisplayName = text("DisplayName");
        else if (is("UnlocalizedName", 14)) UnlocalizedName = text("UnlocalizedName");
        else if (is("Border", 6)) Border = text("Border");
        else if (is("Default", 7)) Default = text("Default");
        else if (is("Floor", 5)) Floor = text("Floor");
        // The game's own files give the grass texture as GrassTextureName: a longer name is
        // another key, kept as it is, and never the grass flag turned off.
        else if (is("Grass", 5) && !(line.size() > 5 && std::isalpha(static_cast<unsigned char>(line[5]))))
            Grass = flag("Grass");
        else if (is("Density", 7)) Density = text("Density");
        else if (is("Height", 5)) Height = text("Height");
        else if (is("AmbientRed", 10)) AmbientRed = text("AmbientRed");
        else if (is("AmbientGreen", 10)) AmbientGreen = text("AmbientGreen");
        else if (is("AmbientBlue", 10)) AmbientBlue = text("AmbientBlue");
        else if (is("DiffuseRed", 10)) DiffuseRed = text("DiffuseRed");
        else if (is("DiffuseGreen", 10)) DiffuseGreen = text("DiffuseGreen");
        else if (is("DiffuseBlue", 10)) DiffuseBlue = text("DiffuseBlue");
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
