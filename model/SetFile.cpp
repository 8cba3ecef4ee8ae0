// Reading and writing whole .set files: the main reader, the Import tab's reader and the
// writer.
#include "model/Globfun.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <set>
#include <string_view>
#include <unordered_map>
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
    while (!line.empty() && (line[0] == ' ' || line[0] == '\t')) line.remove_prefix(1);
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

// The number at text[at], as the game writes numbers into headers: digits without a
// leading zero, at most nine of them; at moves past the digits. -1 for any other text.
long headerDigits(std::string_view text, std::size_t& at)
{
    const std::size_t start = at;
    long n = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (at - start == 9) return -1;
        n = n * 10 + (text[at++] - '0');
    }
    const std::size_t digits = at - start;
    return digits == 0 || (digits > 1 && text[start] == '0') ? -1 : n;
}

// The names of the numbered sections, in the order of Kind, before their numbers.
constexpr const char* sectionNames[Kinds] = {"[TERRAIN", "[CROSSER", "[PRIMARY RULE", "[SECONDARY RULE", "[TILE",
                                             "[GROUP"};
// What a finding calls an entry of each kind.
constexpr const char* entryNames[Kinds] = {"terrain", "crosser", "primary rule", "secondary rule", "tile", "group"};

// The number of a numbered section's header ("[TILE12]" gives 12), or -1 when the header is
// not its kind's name with a number: the game, which looks sections up by name, never
// finds such a section by its number.
long sectionNumber(std::string_view header, Kind kind)
{
    const std::string_view name = sectionNames[kind];
    if (!StartsWithNoCase(header, name)) return -1;
    std::size_t at = name.size();
    const long n = headerDigits(header, at);
    return at + 1 == header.size() && header[at] == ']' ? n : -1;
}

// The tile and door numbers of a "[TILEnDOORm]" header; -1 for both for any other header.
std::pair<long, long> doorNumbers(std::string_view header)
{
    std::size_t at = 5; // past "[TILE"
    const long tile = headerDigits(header, at);
    if (tile < 0 || !StartsWithNoCase(header.substr(at), "DOOR")) return {-1, -1};
    at += 4;
    const long door = headerDigits(header, at);
    if (door < 0 || at + 1 != header.size() || header[at] != ']') return {-1, -1};
    return {tile, door};
}

// A numbered section as read: the number its header gives (-1 for none), the line of its
// header, the header, and whether a finding told of it already.
struct Numbered {
    long number;
    long line;
    std::string header;
    bool told = false;
};

// The places of entries read in file order: by the numbers of their headers, as the game
// looks each up by its number; those of one number in file order, those without a number
// after all others. Notes each number given again, the first entry whose number is not its
// place for another reason (absent says why number n has no entry), and each header
// without a number.
std::vector<std::size_t> orderByNumber(const std::vector<Numbered>& read, const char* what,
                                       const std::function<std::string(long)>& absent)
{
    std::vector<std::size_t> order(read.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    auto key = [&](std::size_t i) { return read[i].number < 0 ? LONG_MAX : read[i].number; };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    long next = 0; // the lowest number no entry has given yet
    const Numbered* firstAgain = nullptr;
    bool told = false;
    for (std::size_t place = 0; place < order.size(); ++place) {
        const Numbered& e = read[order[place]];
        if (e.number < 0) {
            if (!e.told)
                NoteFinding(e.line, Format("%s: no number the game reads; read as %s %zu, after the numbered ones",
                                           e.header.c_str(), what, place));
            continue;
        }
        if (e.number < next) {
            NoteFinding(e.line, Format("%s is given twice; the later one is read as %s %zu", e.header.c_str(), what, place));
            if (!firstAgain) firstAgain = &e;
            continue;
        }
        if (e.number != long(place) && !told) {
            const std::string why = e.number > next ? absent(next) : firstAgain->header + " is given twice";
            NoteFinding(e.line, Format("%s is read as %s %zu: %s", e.header.c_str(), what, place, why.c_str()));
            told = true;
        }
        next = e.number + 1;
    }
    return order;
}

// A door section as read, kept until every tile is known: a door belongs to the tile its
// header names, wherever it stands.
struct DoorRead {
    Numbered numbered;    // by the door's number
    long tile;            // the tile number its header names, -1 for none
    CTile* before;        // the tile read last before it, for a header that names none
    DoorKeys keys;
};

// Every numbered section of one file as the readers met them, put in the places their
// numbers give when the file is read to its end.
class SectionsRead {
public:
    explicit SectionsRead(bool main) : main_(main)
    {
        for (int k = 0; k < Kinds; ++k) first_[k] = countOf(Kind(k));
    }

    // A section of kind has just been read into the last entry of its list.
    void Entry(Kind kind, std::string header, long at)
    {
        read_[kind].push_back({sectionNumber(header, kind), at, std::move(header)});
    }

    void Door(TextFile& file, std::string header, long at)
    {
        const auto [tile, door] = doorNumbers(header);
        CTile* before = tileList().Tail();
        if (tile < 0 && !before) {
            NoteFinding(at, header + ": a door section before any tile, skipped");
            return;
        }
        DoorKeys keys = CTile::ReadDoorKeys(file);
        if (!keys.Whole()) {
            if (tile >= 0) notRead_.insert({tile, door});
            return;
        }
        bool told = false;
        if (tile < 0) {
            NoteFinding(at, header + (hasDoorWord(header) ? ": no door the game reads; read as a door of the tile before it"
                                                          : ": read as a door of the tile before it, as tile headers stop "
                                                            "at [TILE9999]"));
            told = true;
        }
        doors_.push_back({{door, at, std::move(header), told}, tile, before, std::move(keys)});
    }

    // At the end of the file: every entry to the place its number gives, every door to its
    // tile.
    void Place()
    {
        // The tiles in file order, before they move, for the doors that name them.
        std::vector<CTile*> tiles;
        for (int i = first_[Tiles]; i < tileList().Count(); ++i) tiles.push_back(tileList().At(i));
        arrange(Terrains, main_ ? TS().TerrainList : TS().ImportTerrains);
        arrange(Crossers, main_ ? TS().CrosserList : TS().ImportCrossers);
        if (main_) {
            arrange(PrimaryRules, TS().PrimaryRuleList);
            arrange(SecondaryRules, TS().SecondaryRuleList);
        }
        arrange(Tiles, tileList());
        arrange(Groups, main_ ? TS().GroupList : TS().ImportGroups);
        placeDoors(tiles);
    }

private:
    CPtrList<CTile>& tileList() const { return main_ ? TS().TileList : TS().ImportTiles; }

    int countOf(Kind kind) const
    {
        Tileset& t = TS();
        switch (kind) {
        case Terrains: return (main_ ? t.TerrainList : t.ImportTerrains).Count();
        case Crossers: return (main_ ? t.CrosserList : t.ImportCrossers).Count();
        case PrimaryRules: return t.PrimaryRuleList.Count();
        case SecondaryRules: return t.SecondaryRuleList.Count();
        case Tiles: return tileList().Count();
        case Groups: return (main_ ? t.GroupList : t.ImportGroups).Count();
        default: return 0;
        }
    }

    template <class Entry>
    void arrange(Kind kind, CPtrList<Entry>& list)
    {
        auto absent = [kind](long n) { return Format("the file has no %s%ld]", sectionNames[kind], n); };
        list.Rearrange(first_[kind], orderByNumber(read_[kind], entryNames[kind], absent));
    }

    // The tile a door names: of the tiles of that number (their places in file order), the
    // last one before the door in the file, else the first one after it.
    CTile* tileOf(const DoorRead& door, const std::vector<CTile*>& tiles,
                  const std::map<long, std::vector<std::size_t>>& byNumber) const
    {
        if (door.tile < 0) return door.before;
        auto found = byNumber.find(door.tile);
        if (found == byNumber.end()) return nullptr;
        std::size_t chosen = found->second.front();
        for (std::size_t i : found->second)
            if (read_[Tiles][i].line < door.numbered.line) chosen = i;
        return tiles[chosen];
    }

    void placeDoors(const std::vector<CTile*>& tiles)
    {
        std::map<long, std::vector<std::size_t>> byNumber;
        for (std::size_t i = 0; i < tiles.size(); ++i)
            if (read_[Tiles][i].number >= 0) byNumber[read_[Tiles][i].number].push_back(i);
        std::unordered_map<const CTile*, std::vector<DoorRead*>> doorsOf;
        for (DoorRead& door : doors_) {
            if (CTile* tile = tileOf(door, tiles, byNumber)) {
                doorsOf[tile].push_back(&door);
                continue;
            }
            NoteFinding(door.numbered.line, Format("%s: the file has no [TILE%ld], the door is skipped",
                                                   door.numbered.header.c_str(), door.tile));
        }
        int number = 0;
        for (CTile* tile : tileList()) {
            const int at = number++;
            auto found = doorsOf.find(tile);
            if (found == doorsOf.end()) continue;
            std::vector<DoorRead*>& doors = found->second;
            std::vector<Numbered> numbered;
            for (const DoorRead* door : doors) numbered.push_back(door->numbered);
            // The number the tile's numbered doors name it by, for the doors missing among them.
            long tileNumber = -1;
            for (const DoorRead* door : doors)
                if (tileNumber < 0) tileNumber = door->tile;
            auto absent = [&](long n) {
                const std::string name = Format("[TILE%ldDOOR%ld]", tileNumber, n);
                return notRead_.count({tileNumber, n}) ? name + " was not read" : "the file has no " + name;
            };
            const std::vector<std::size_t> order = orderByNumber(numbered, "door", absent);
            for (std::size_t i : order) tile->AddDoor(std::move(doors[i]->keys));
            const auto counted = std::size_t(std::max(tile->Doors, 0));
            if (order.size() > counted) notePastCount(*tile, at, doors[order[counted]]->numbered.line);
        }
    }

    // A tile holding more doors than its Doors count, told at the first door past it.
    static void notePastCount(const CTile& tile, int number, long at)
    {
        const int held = tile.DoorsHeld();
        const int counted = std::max(tile.Doors, 0);
        const std::string kept = counted == 0 ? "the game reads none of them, the editor keeps them"
                                              : Format("the game reads only the first %d, the editor keeps the others",
                                                       counted);
        NoteFinding(at, Format("tile %d: Doors=%d, but the file holds %d door section%s; %s and saves them as read",
                               number, tile.Doors, held, held == 1 ? "" : "s", kept.c_str()));
    }

    bool main_;
    int first_[Kinds];
    std::vector<Numbered> read_[Kinds];
    std::vector<DoorRead> doors_;
    std::set<std::pair<long, long>> notRead_; // tile and door numbers of doors without all their keys
};

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

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
        SectionsRead sections(main);
        std::vector<std::string> head; // the comment and empty lines before the first header
        bool inHead = true;
        bool generalRead = false, grassRead = false;
        std::string line;
        while (ReadSectionLine(file, line)) {
            const long at = file.LineNumber();
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
            std::string header(headerOf(line));
            // [GENERAL] and [GRASS] given again add to the first: a key given in both keeps
            // its later value.
            NoteSection(header, h == Header::General || h == Header::Grass);
            auto again = [&](bool& read) {
                if (read)
                    NoteFinding(at, header + " is given a second time: its keys are read too, and a key given in "
                                             "both keeps the later value");
                read = true;
            };
            switch (h) {
            case Header::General:
                // The Import tab's source replaces the general settings of the last one.
                if (!main && !generalRead) t.ImportGeneral = std::make_unique<CGeneral>();
                again(generalRead);
                (main ? t.General : t.ImportGeneral)->ReadFromSet(file, false);
                break;
            case Header::Grass:
                if (!main) break;
                again(grassRead);
                t.General->ReadFromSet(file, true);
                break;
            case Header::Terrain:
                readNew<CTerrain>(file);
                sections.Entry(Terrains, std::move(header), at);
                break;
            case Header::Crosser:
                readNew<CCrosser>(file);
                sections.Entry(Crossers, std::move(header), at);
                break;
            case Header::Primary:
            case Header::Secondary:
                if (!main) break;
                readRule(file, h == Header::Primary);
                sections.Entry(h == Header::Primary ? PrimaryRules : SecondaryRules, std::move(header), at);
                break;
            case Header::Tile:
                readNew<CTile>(file);
                sections.Entry(Tiles, std::move(header), at);
                break;
            case Header::Door: sections.Door(file, std::move(header), at); break;
            case Header::Group:
                readNew<CGroup>(file);
                sections.Entry(Groups, std::move(header), at);
                break;
            case Header::None: break;
            }
        }
        checks.End();
        sections.Place();
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
