// Reading and writing whole .set files: the main reader, the Import tab's reader and the
// writer.
#include "model/Globfun.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace {

enum class Header { None, General, Grass, Terrain, Crosser, Primary, Secondary, Tile, Door, Group };

bool starts(std::string_view line, const char* key, std::size_t n)
{
    return StartsWithNoCase(line, key, n);
}

// The header a line holds: from its '[' to the first ']'. What follows on the line (blanks,
// a comment) is not part of it. Without a ']', the line less its line end and trailing
// blanks. Empty for a line that is no header.
std::string_view headerOf(std::string_view line)
{
    if (line.empty() || line[0] != '[') return {};
    const std::size_t close = line.find(']');
    if (close != std::string_view::npos) return line.substr(0, close + 1);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

// Which section a line opens. The tests exclude each other; the number in a header is
// never read. A tile header is at most 10 characters long ([TILE9999]), anything longer
// that starts with [TILE is a door.
Header classify(std::string_view line)
{
    line = headerOf(line);
    if (line.empty()) return Header::None;
    if (starts(line, "[GENERAL]", 9)) return Header::General;
    if (starts(line, "[GRASS]", 7)) return Header::Grass;
    if (starts(line, "[TERRAIN", 8) && !starts(line, "[TERRAIN TYPES]", 14)) return Header::Terrain;
    if (starts(line, "[CROSSER", 8) && !starts(line, "[CROSSER TYPES]", 14)) return Header::Crosser;
    if (starts(line, "[PRIMARY", 8) && !starts(line, "[PRIMARY RULES]", 14)) return Header::Primary;
    if (starts(line, "[SECONDARY", 10) && !starts(line, "[SECONDARY RULES]", 16)) return Header::Secondary;
    if (starts(line, "[TILE", 5) && !starts(line, "[TILES]", 7) && line.size() <= 10) return Header::Tile;
    if (starts(line, "[TILE", 5) && line.size() > 10) return Header::Door;
    if (starts(line, "[GROUP", 6) && !starts(line, "[GROUPS]", 8)) return Header::Group;
    return Header::None;
}

// The index sections, in the order of Kind: their headers, and what they count.
enum Kind { Terrains, Crossers, PrimaryRules, SecondaryRules, Tiles, Groups, Kinds };
struct IndexSection {
    const char* header;
    std::size_t n;
    const char* counts;
};
constexpr IndexSection indexSections[Kinds] = {{"[TERRAIN TYPES]", 14, "terrain"}, {"[CROSSER TYPES]", 14, "crosser"},
    {"[PRIMARY RULES]", 14, "primary rule"}, {"[SECONDARY RULES]", 16, "secondary rule"}, {"[TILES]", 7, "tile"},
    {"[GROUPS]", 8, "group"}};

// The index section a line opens, or Kinds.
Kind indexKind(const std::string& line)
{
    int k = 0;
    while (k < Kinds && !starts(line, indexSections[k].header, indexSections[k].n)) ++k;
    return Kind(k);
}

// The list a section header adds an entry to, or Kinds.
Kind entryKind(Header h)
{
    switch (h) {
    case Header::Terrain: return Terrains;
    case Header::Crosser: return Crossers;
    case Header::Primary: return PrimaryRules;
    case Header::Secondary: return SecondaryRules;
    case Header::Tile: return Tiles;
    case Header::Group: return Groups;
    default: return Kinds;
    }
}

// What the file itself says beside its sections: the Count lines of the index sections, and
// the lines that are in no section the readers take. Notes what does not fit.
class FileChecks {
public:
    // The line just read opens a section; entries tells which list it adds to (Kinds for
    // none), and taken that a section reader reads its lines.
    void Opens(const std::string& line, long at, Kind entries, bool taken)
    {
        if (line.find(']') == std::string::npos)
            NoteFinding(at, QuoteLine(line) + ": the header has no closing bracket");
        if (entries != Kinds) ++read_[entries];
        index_ = indexKind(line);
        where_ = taken ? Outside : index_ != Kinds ? Index : Skipped;
        if (!taken && index_ == Kinds && classify(line) == Header::None)
            NoteFinding(at, QuoteLine(line) + ": no section of a tileset, its lines are skipped");
    }
    // Any other line.
    void Line(const std::string& line, long at)
    {
        if (BlankOrComment(line) || where_ == Skipped) return;
        if (where_ == Index && starts(line, "Count", 5)) {
            int n = 0;
            if (TryStrToInt(GetIniValue(line), n)) {
                count_[index_] = {at, n};
                return;
            }
        }
        NoteFinding(at, QuoteLine(line) + (where_ == Index ? ": no count, skipped" : ": in no section, skipped"));
    }
    // At the end of the file: counts that differ from the sections read.
    void End() const
    {
        for (int k = 0; k < Kinds; ++k) {
            const auto [at, n] = count_[k];
            if (at > 0 && n != read_[k])
                NoteFinding(at, Format("%s Count=%d, but the file holds %d %s sections", indexSections[k].header, n,
                                       read_[k], indexSections[k].counts));
        }
    }

private:
    enum { Outside, Index, Skipped } where_ = Outside;
    Kind index_ = Kinds;
    int read_[Kinds] = {};
    struct Count {
        long at = 0;
        int n = 0;
    } count_[Kinds];
};

// Lowers the loading flags however the main reader ends, so that later readers never
// append to the main lists by mistake.
struct LoadingFlagsDown {
    ~LoadingFlagsDown()
    {
        Tileset& t = TS();
        t.ReadTilesIntoMain = t.ReadTerrainsIntoMain = t.ReadCrossersIntoMain = t.ReadGroupsIntoMain = false;
    }
};

// The reader appends the new entry to its list, which takes it over.
template <class Entry>
void readNew(TextFile& file)
{
    (new Entry)->ReadFromSet(file);
}

void readRule(TextFile& file, bool primary)
{
    (new CRules)->ReadRuleSection(file, primary);
}

bool hasDoorWord(std::string_view line)
{
    line = headerOf(line);
    for (std::size_t i = 0; i + 4 <= line.size(); ++i)
        if (StartsWithNoCase(line.substr(i), "DOOR", 4)) return true;
    return false;
}

// A tile holding more door sections than its Doors count, and the line of the first door
// past it.
struct DoorsPastCount {
    const CTile* tile;
    int number;
    long at;
};

// A door header before any tile has no tile to go to: its lines are skipped like any
// other lines outside a section.
void readDoor(TextFile& file, const CPtrList<CTile>& tiles, const std::string& line, long at,
              std::vector<DoorsPastCount>& pastCount)
{
    CTile* tile = tiles.Tail();
    if (!tile) {
        NoteFinding(at, QuoteLine(line) + ": a door section before any tile, skipped");
        return;
    }
    if (!hasDoorWord(line))
        NoteFinding(at, QuoteLine(line) + ": read as a door of the tile before it, as tile headers stop at [TILE9999]");
    const int before = tile->DoorsHeld();
    tile->ReadDoorSection(file);
    if (before == std::max(tile->Doors, 0) && tile->DoorsHeld() > before)
        pastCount.push_back({tile, tiles.lastIndex(), at});
}

// Each tile with door sections past its count, once, when all its doors are known.
void noteDoorsPastCount(const std::vector<DoorsPastCount>& pastCount)
{
    for (const auto& [tile, number, at] : pastCount) {
        const int held = tile->DoorsHeld();
        const int counted = std::max(tile->Doors, 0);
        const std::string kept = counted == 0 ? "the game reads none of them, the editor keeps them"
                                              : Format("the game reads only the first %d, the editor keeps the others",
                                                       counted);
        NoteFinding(at, Format("tile %d: Doors=%d, but the file holds %d door section%s; %s and saves them as read",
                               number, tile->Doors, held, held == 1 ? "" : "s", kept.c_str()));
    }
}

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::string withoutByteOrderMark(std::string text)
{
    if (text.starts_with(byteOrderMark)) text.erase(0, byteOrderMark.size());
    return text;
}

// The program's own head line, which the writer puts first.
constexpr std::string_view headLine = "; created with Tilvenna Beta 0.85";

std::string_view withoutLineEnd(std::string_view line)
{
    if (line.ends_with('\n')) line.remove_suffix(1);
    return line;
}

bool blank(std::string_view line)
{
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The comment lines before the first section (the authors' credits of a tileset), as the
// writer puts them back under its own head line: without that line when the file starts
// with it, and without the empty lines around them, so a file saved again stays the same.
std::vector<std::string> headComments(std::vector<std::string> lines)
{
    auto first = std::find_if_not(lines.begin(), lines.end(), [](const std::string& l) { return blank(l); });
    if (first != lines.end()) {
        std::string_view own = *first;
        while (!own.empty() && (own.back() == ' ' || own.back() == '\t' || own.back() == '\r')) own.remove_suffix(1);
        if (own == headLine) first = std::find_if_not(first + 1, lines.end(), [](const std::string& l) { return blank(l); });
    }
    lines.erase(lines.begin(), first);
    while (!lines.empty() && blank(lines.back())) lines.pop_back();
    return lines;
}

// Reads every section of the file into the edited tileset (main) or the Import tab's, which
// leaves out [GRASS] and the rules. Returns what did not fit, in line order.
SetFindings readSections(TextFile& file, bool main)
{
    Tileset& t = TS();
    SetFindings findings;
    {
        CollectFindings collect(findings);
        FileChecks checks;
        std::vector<DoorsPastCount> pastCount;
        std::vector<std::string> head; // the comment and empty lines before the first header
        bool inHead = true;
        std::string line;
        while (ReadSectionLine(file, line)) {
            const long at = file.LineNumber();
            // Text editors may start a file saved as UTF-8 with a byte-order mark; the game
            // and the editor write none.
            if (at == 1) line = withoutByteOrderMark(std::move(line));
            if (line.empty()) continue;
            if (line[0] != '[') {
                if (inHead && BlankOrComment(line)) head.emplace_back(withoutLineEnd(line));
                checks.Line(line, at);
                continue;
            }
            inHead = false;
            const Header h = classify(line);
            const bool mainOnly = h == Header::Grass || h == Header::Primary || h == Header::Secondary;
            checks.Opens(line, at, entryKind(h), h != Header::None && h != Header::Door && (main || !mainOnly));
            switch (h) {
            case Header::General:
                if (main) {
                    t.General->ReadFromSet(file, false);
                } else {
                    auto general = std::make_unique<CGeneral>();
                    general->ReadFromSet(file);
                    t.ImportGeneral = std::move(general);
                }
                break;
            case Header::Grass:
                if (main) t.General->ReadFromSet(file, true);
                break;
            case Header::Terrain: readNew<CTerrain>(file); break;
            case Header::Crosser: readNew<CCrosser>(file); break;
            case Header::Primary:
                if (main) readRule(file, true);
                break;
            case Header::Secondary:
                if (main) readRule(file, false);
                break;
            case Header::Tile: readNew<CTile>(file); break;
            case Header::Door: readDoor(file, main ? t.TileList : t.ImportTiles, line, at, pastCount); break;
            case Header::Group: readNew<CGroup>(file); break;
            case Header::None: break;
            }
        }
        checks.End();
        noteDoorsPastCount(pastCount);
        // The Import tab's source keeps no comments: they belong to the tileset being edited.
        if (main) t.Comments = headComments(std::move(head));
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const SetFinding& a, const SetFinding& b) { return a.line < b.line; });
    return findings;
}

void writeSetText(TextFile& f, Tileset& t)
{
    f.Write(headLine);
    f.Write("\n");
    for (const std::string& comment : t.Comments) {
        f.Write(comment);
        f.Write("\n");
    }
    f.Write("\n");
    t.General->WriteToSet(f);

    int i = 0;
    f.Printf("[TERRAIN TYPES]\nCount=%d\n\n", t.TerrainList.Count());
    for (CTerrain* e : t.TerrainList) e->WriteToSet(f, i++);

    i = 0;
    f.Printf("[CROSSER TYPES]\nCount=%d\n\n", t.CrosserList.Count());
    for (CCrosser* e : t.CrosserList) e->WriteToSet(f, i++);

    i = 0;
    f.Printf("[PRIMARY RULES]\nCount=%d\n\n", t.PrimaryRuleList.Count());
    for (CRules* e : t.PrimaryRuleList) e->WriteToSet(f, i++);

    i = 0;
    f.Printf("[SECONDARY RULES]\nCount=%d\n\n", t.SecondaryRuleList.Count());
    for (CRules* e : t.SecondaryRuleList) e->WriteSecondaryToSet(f, i++);

    i = 0;
    f.Printf("[TILES]\nCount=%d\n\n", t.TileList.Count());
    for (CTile* e : t.TileList) e->WriteToSet(f, i++);

    i = 0;
    f.Printf("[GROUPS]\nCount=%d\n\n", t.GroupList.Count());
    for (CGroup* e : t.GroupList) e->WriteToSet(f, i++);
}

} // namespace

SetFindings ReadSetFile(TextFile& file)
{
    Tileset& t = TS();
    t.ReadTilesIntoMain = true;
    t.ReadTerrainsIntoMain = true;
    t.ReadCrossersIntoMain = true;
    t.ReadGroupsIntoMain = true;
    LoadingFlagsDown flagsDown;

    SetFindings findings = readSections(file, true);

    // Every kind is refilled, an empty list too, so no view keeps rows of an earlier file.
    t.General->FillMainLists();
    Views().FillTerrains();
    t.ReadTerrainsIntoMain = false;
    Views().FillCrossers();
    t.ReadCrossersIntoMain = false;
    Views().FillRules();
    Views().FillTiles();
    t.ReadTilesIntoMain = false;
    Views().FillGroups();
    t.ReadGroupsIntoMain = false;
    file.Discard(); // read to the end: closing has nothing to report
    return findings;
}

SetFindings ReadImportSet(TextFile& file)
{
    Tileset& t = TS();
    t.ReadTilesIntoMain = t.ReadTerrainsIntoMain = t.ReadCrossersIntoMain = t.ReadGroupsIntoMain = false;

    SetFindings findings = readSections(file, false);

    if (!t.ImportGroups.Empty()) Views().FillImportGroups();
    if (!t.ImportTerrains.Empty()) Views().FillImportTerrains();
    if (!t.ImportCrossers.Empty()) Views().FillImportCrossers();
    file.Discard(); // read to the end: closing has nothing to report
    return findings;
}

SetTextCheck CheckSetText(std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos) return SetTextCheck::Binary;
    if (bytes.starts_with(byteOrderMark)) bytes.remove_prefix(byteOrderMark.size());
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string line(bytes.substr(at, end - at));
        if (classify(line) != Header::None || indexKind(line) != Kinds) return SetTextCheck::Tileset;
        at = end + 1;
    }
    return SetTextCheck::NoSection;
}

std::string SetFileText()
{
    Tileset& t = TS();
    t.General->ReadFromFrame();
    TextFile f;
    f.OpenWriteText();
    writeSetText(f, t);
    return f.Written();
}

bool WriteSetFile(TextFile& file, std::string& error)
{
    Tileset& t = TS();
    if (!file.IsOpen()) {
        error = "Error on saving file !!!";
        return false;
    }
    t.General->ReadFromFrame();
    if (t.TileList.Count() > MaxSetTiles) {
        file.Discard();
        error = Format("This tileset has %d tiles, but a set file can hold at most %d: "
                       "tile numbers above %d would read back as doors. Nothing was saved.",
                       t.TileList.Count(), MaxSetTiles, MaxSetTiles - 1);
        return false;
    }
    writeSetText(file, t);
    if (!file.Close()) {
        error = "Error on saving file !!!";
        return false;
    }
    return true;
}
