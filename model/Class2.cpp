// Class2: readers, writers and views of the list entries: terrains, crossers, rules, tiles, groups.
#include <algorithm>
#include <cstdint>

#include "model/Class.h"
#include "model/Tileset.h"
#include "platform/Text.h"

namespace {

bool is(const std::string& line, const char* key, std::size_t n)
{
    return StartsWithNoCase(line, key, n);
}

// Reads key lines until the next header or the end of the file; handle() gets each line.
// The file is left at the start of the header.
template <class Handle>
void readSection(TextFile& file, Handle handle)
{
    std::string line;
    for (;;) {
        long mark = file.Tell();
        if (!ReadSectionLine(file, line)) return;
        if (EndsSection(line)) {
            file.Seek(mark);
            return;
        }
        handle(line);
    }
}

// A group's cell line: the number after Tile in its key (-1 when that is no number), its
// value, and for the findings where it stands, the number its key gave and why that was of
// no use.
struct CellLine {
    long number;
    std::string value;
    long at;
    std::string quoted;
    long key;
    const char* unused;
};

// The number between "Tile" and '=', when it is nothing but digits and below
// MaxGroupCells; else -1.
long cellNumber(std::string_view line)
{
    std::string_view key = line.substr(4, line.find('=') - 4);
    if (key.ends_with('\n')) key.remove_suffix(1);
    if (key.empty()) return -1;
    long n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
        if (n >= MaxGroupCells) return -1;
    }
    return n;
}

// Each cell goes to the number in its key. A cell whose number is of no use (no number,
// outside the group, or met before) takes the next free cell in line order, so no cell is
// lost; a cell that no line gives is empty. Cells in order come out as they were.
void placeCells(std::vector<CellLine>& lines, StringList& cells)
{
    std::vector<std::string> placed;
    std::vector<char> given;
    for (CellLine& c : lines) {
        if (c.number < 0) continue;
        auto n = std::size_t(c.number);
        if (n >= placed.size()) placed.resize(n + 1), given.resize(n + 1, 0);
        if (given[n]) {
            c.number = -1;
            c.unused = "its cell was given before";
            continue;
        }
        placed[n] = std::move(c.value);
        given[n] = 1;
    }
    std::size_t free = 0;
    for (CellLine& c : lines) {
        if (c.number >= 0) continue;
        while (free < given.size() && given[free]) ++free;
        if (free == placed.size()) placed.emplace_back(), given.push_back(0);
        // Cells taken in line order where their keys say so are no guess.
        if (long(free) != c.key) NoteFinding(c.at, c.quoted + ": " + c.unused + Format(", placed in cell %zu", free));
        placed[free] = std::move(c.value);
        given[free] = 1;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) cells.Add(given[i] ? std::move(placed[i]) : std::string("-1"));
}

} // namespace

void CNamedType::ReadNamedKeys(TextFile& file)
{
    readSection(file, [&](const std::string& line) {
        bool known = false;
        auto text = [&](const char* key) { return known = true, TextKey(file, line, key); };
        if (is(line, "Name", 4)) SetName(text("Name"));
        if (is(line, "StrRef", 4)) SetStrRef(text("StrRef"));
        if (is(line, "UnlocalizedName", 4)) SetUnlocalizedName(text("UnlocalizedName"));
        if (!known) KeepUnknownKey(UnknownKeys, line, file.LineNumber());
    });
}

void CNamedType::WriteNamedSection(TextFile& f, const char* header, int index) const
{
    f.Printf(header, index);
    WriteKey(f, "Name=%s\n", Name);
    if (!StrRef.empty()) WriteKey(f, "StrRef=%s\n", StrRef);
    if (!UnlocalizedName.empty()) WriteKey(f, "UnlocalizedName=%s\n", UnlocalizedName);
    WriteUnknownKeys(f, UnknownKeys);
    f.Printf("\n");
}

void CNamedType::CopyNamedFields(const CNamedType& source)
{
    SetName(source.Name);
    SetStrRef(source.StrRef);
    SetUnlocalizedName(source.UnlocalizedName);
    UnknownKeys = source.UnknownKeys;
}

// Terrains

void CTerrain::ReadFromSet(TextFile& file)
{
    ReadNamedKeys(file);
    Tileset& t = TS();
    (t.ReadTerrainsIntoMain ? t.TerrainList : t.ImportTerrains).Append(this);
}

void CTerrain::WriteToSet(TextFile& file, int index)
{
    WriteNamedSection(file, "[TERRAIN%d]\n", index);
}

void CTerrain::FillMainLists()
{
    Views().FillTerrains();
}

void CTerrain::FillImportLists()
{
    Views().FillImportTerrains();
}

void CTerrain::CopyToMain(const CTerrain& source)
{
    CopyNamedFields(source);
    TS().TerrainList.Append(this);
}

// Crossers

void CCrosser::ReadFromSet(TextFile& file)
{
    ReadNamedKeys(file);
    Tileset& t = TS();
    (t.ReadCrossersIntoMain ? t.CrosserList : t.ImportCrossers).Append(this);
}

void CCrosser::WriteToSet(TextFile& file, int index)
{
    WriteNamedSection(file, "[CROSSER%d]\n", index);
}

void CCrosser::FillMainLists()
{
    Views().FillCrossers();
}

void CCrosser::FillImportLists()
{
    Views().FillImportCrossers();
}

void CCrosser::CopyToMain(const CCrosser& source)
{
    CopyNamedFields(source);
    TS().CrosserList.Append(this);
}

// Rules

void CRules::ReadFromSet(TextFile&) {}

void CRules::ReadRuleSection(TextFile& file, bool primary)
{
    readSection(file, [&](const std::string& line) {
        bool known = false;
        auto text = [&](const char* key) { return known = true, TextKey(file, line, key); };
        if (is(line, "Placed=", 7)) SetPlaced(text("Placed"));
        if (is(line, "PlacedHeight", 12)) SetPlacedHeight(text("PlacedHeight"));
        if (is(line, "Adjacent=", 9)) SetAdjacent(text("Adjacent"));
        if (is(line, "AdjacentHeight", 14)) SetAdjacentHeight(text("AdjacentHeight"));
        if (is(line, "Changed=", 8)) SetChanged(text("Changed"));
        if (is(line, "ChangedHeight", 13)) SetChangedHeight(text("ChangedHeight"));
        if (!known) KeepUnknownKey(UnknownKeys, line, file.LineNumber());
    });
    (primary ? TS().PrimaryRuleList : TS().SecondaryRuleList).Append(this);
}

static void writeRule(const CRules& r, TextFile& f, const char* header, int index)
{
    f.Printf(header, index);
    WriteKey(f, "Placed=%s\n", r.Placed);
    WriteKey(f, "PlacedHeight=%s\n", r.PlacedHeight);
    WriteKey(f, "Adjacent=%s\n", r.Adjacent);
    WriteKey(f, "AdjacentHeight=%s\n", r.AdjacentHeight);
    WriteKey(f, "Changed=%s\n", r.Changed);
    WriteKey(f, "ChangedHeight=%s\n\n", r.ChangedHeight, &r.UnknownKeys);
}

void CRules::WriteToSet(TextFile& file, int index)
{
    writeRule(*this, file, "[PRIMARY RULE%d]\n", index);
}

void CRules::WriteSecondaryToSet(TextFile& file, int index)
{
    writeRule(*this, file, "[SECONDARY RULE%d]\n", index);
}

void CRules::FillMainLists()
{
    Views().FillRules();
}

// Tiles

void CTile::ReadFromSet(TextFile& file)
{
    readSection(file, [&](const std::string& line) {
        auto text = [&](const char* key) { return TextKey(file, line, key); };
        auto flag = [&](const char* key) { return FlagKey(file, line, key); };
        // An ordered chain; a corner's text key must not take its Height line.
        if (is(line, "Model", 5)) Model = text("Model");
        else if (is(line, "WalkMesh", 8)) WalkMesh = text("WalkMesh");
        else if (is(line, "TopLeft", 7) && !is(line, "TopLeftHeight", 13)) TopLeft = text("TopLeft");
        else if (is(line, "TopLeftHeight", 13)) TopLeftHeight = flag("TopLeftHeight");
        else if (is(line, "TopRight", 7) && !is(line, "TopRightHeight", 13)) TopRight = text("TopRight");
        else if (is(line, "TopRightHeight", 13)) TopRightHeight = flag("TopRightHeight");
        else if (is(line, "BottomLeft", 10) && !is(line, "BottomLeftHeight", 16)) BottomLeft = text("BottomLeft");
        else if (is(line, "BottomLeftHeight", 16)) BottomLeftHeight = flag("BottomLeftHeight");
        else if (is(line, "BottomRight", 10) && !is(line, "BottomRightHeight", 16)) BottomRight = text("BottomRight");
        else if (is(line, "BottomRightHeight", 16)) BottomRightHeight = flag("BottomRightHeight");
        else if (is(line, "Top", 3)) Top = text("Top");
        else if (is(line, "Right", 5)) Right = text("Right");
        else if (is(line, "Bottom", 6)) Bottom = text("Bottom");
        else if (is(line, "Left", 4)) Left = text("Left");
        else if (is(line, "MainLight1", 10)) MainLight1 = flag("MainLight1");
        else if (is(line, "MainLight2", 10)) MainLight2 = flag("MainLight2");
        else if (is(line, "SourceLight1", 12)) SourceLight1 = flag("SourceLight1");
        else if (is(line, "SourceLight2", 12)) SourceLight2 = flag("SourceLight2");
        else if (is(line, "AnimLoop1", 9)) AnimLoop1 = flag("AnimLoop1");
        else if (is(line, "AnimLoop2", 9)) AnimLoop2 = flag("AnimLoop2");
        else if (is(line, "AnimLoop3", 9)) AnimLoop3 = flag("AnimLoop3");
        else if (is(line, "Doors", 5)) Doors = NumberKey(file, line, "Doors");
        else if (is(line, "Sounds", 6)) Sounds = NumberKey(file, line, "Sounds");
        else if (is(line, "PathNode", 6)) PathNode = text("PathNode");
        else if (is(line, "Orientation", 11)) Orientation = text("Orientation");
        else if (is(line, "VisibilityNode", 14)) VisibilityNode = text("VisibilityNode");
        else if (is(line, "VisibilityOrientation", 14)) VisibilityOrientation = text("VisibilityOrientation");
        else if (is(line, "ImageMap2D", 10)) ImageMap2D = text("ImageMap2D");
        else if (is(line, "DoorVisibilityNode", 18)) DoorVisibilityNode = text("DoorVisibilityNode");
        else if (is(line, "DoorVisibilityOrientation", 18)) DoorVisibilityOrientation = text("DoorVisibilityOrientation");
        else KeepUnknownKey(UnknownKeys, line, file.LineNumber());
    });
    Tileset& t = TS();
    (t.ReadTilesIntoMain ? t.TileList : t.ImportTiles).Append(this);
}

void CTile::ReadDoorSection(TextFile& file)
{
    DoorKeys door = ReadDoorKeys(file);
    if (door.Whole()) AddDoor(std::move(door));
}

DoorKeys CTile::ReadDoorKeys(TextFile& file)
{
    const long header = file.LineNumber();
    DoorKeys door;
    // Each value by its key's name, as the game looks it up: the order of the lines, and
    // lines of other keys among them, change nothing.
    readSection(file, [&](const std::string& line) {
        const auto eq = line.find('=');
        const std::string_view key = std::string_view(line).substr(0, eq);
        int k = 0;
        while (k < 5 && !EqualsNoCase(key, DoorKeys::Names[k])) ++k;
        if (k == 5 || eq == std::string::npos) {
            KeepUnknownKey(door.unknown, line, file.LineNumber());
            return;
        }
        door.values[k] = TextKey(file, line, DoorKeys::Names[k]);
        std::string kept = line.ends_with('\n') ? line.substr(0, line.size() - 1) : line;
        // A key given twice keeps its later line too.
        if (door.given[k]) {
            auto same = [&](const std::string& l) { return EqualsNoCase(l.substr(0, l.find('=')), key); };
            door.lines.erase(std::find_if(door.lines.begin(), door.lines.end(), same));
        }
        door.lines.push_back(std::move(kept));
        door.given[k] = true;
    });
    if (!door.Whole()) {
        std::string missing;
        int got = 0;
        for (int k = 0; k < 5; ++k) {
            if (door.given[k]) ++got;
            else missing += (missing.empty() ? "" : ", ") + std::string(DoorKeys::Names[k]);
        }
        NoteFinding(header, Format("door section with %d of its five keys, without %s: no door read", got, missing.c_str()));
    }
    return door;
}

void CTile::AddDoor(DoorKeys door)
{
    if (!DoorList) DoorList = std::make_unique<StringList>();
    for (auto& v : door.values) DoorList->Add(std::move(v));
    const auto held = std::size_t(DoorsHeld());
    DoorLines.resize(held);
    DoorLines.back() = std::move(door.lines);
    if (!door.unknown.empty()) {
        UnknownDoorKeys.resize(held);
        UnknownDoorKeys.back() = std::move(door.unknown);
    }
}

void CTile::WriteToSet(TextFile& f, int index)
{
    f.Printf("[TILE%d]\n", index);
    WriteKey(f, "Model=%s\n", Model);
    if (!WalkMesh.empty()) WriteKey(f, "WalkMesh=%s\n", WalkMesh);
    else f.Write("WalkMesh=\n");
    WriteKey(f, "TopLeft=%s\n", TopLeft);
    f.Printf("TopLeftHeight=%d\n", TopLeftHeight ? 1 : 0);
    WriteKey(f, "TopRight=%s\n", TopRight);
    f.Printf("TopRightHeight=%d\n", TopRightHeight ? 1 : 0);
    WriteKey(f, "BottomLeft=%s\n", BottomLeft);
    f.Printf("BottomLeftHeight=%d\n", BottomLeftHeight ? 1 : 0);
    WriteKey(f, "BottomRight=%s\n", BottomRight);
    f.Printf("BottomRightHeight=%d\n", BottomRightHeight ? 1 : 0);
    // An edge without a crosser is written as an empty value, which reads back as none.
    if (!Top.empty()) WriteKey(f, "Top=%s\n", Top);
    else f.Write("Top=\n");
    if (!Right.empty()) WriteKey(f, "Right=%s\n", Right);
    else f.Write("Right=\n");
    if (!Bottom.empty()) WriteKey(f, "Bottom=%s\n", Bottom);
    else f.Write("Bottom=\n");
    if (!Left.empty()) WriteKey(f, "Left=%s\n", Left);
    else f.Write("Left=\n");
    f.Printf("MainLight1=%d\n", MainLight1 ? 1 : 0);
    f.Printf("MainLight2=%d\n", MainLight2 ? 1 : 0);
    f.Printf("SourceLight1=%d\n", SourceLight1 ? 1 : 0);
    f.Printf("SourceLight2=%d\n", SourceLight2 ? 1 : 0);
    f.Printf("AnimLoop1=%d\n", AnimLoop1 ? 1 : 0);
    f.Printf("AnimLoop2=%d\n", AnimLoop2 ? 1 : 0);
    f.Printf("AnimLoop3=%d\n", AnimLoop3 ? 1 : 0);
    f.Printf("Doors=%d\n", Doors);
    f.Printf("Sounds=%d\n", Sounds);
    WriteKey(f, "PathNode=%s\n", PathNode);
    WriteKey(f, "Orientation=%s\n", Orientation);
    if (!VisibilityNode.empty()) {
        WriteKey(f, "VisibilityNode=%s\n", VisibilityNode);
        WriteKey(f, "VisibilityOrientation=%s\n", VisibilityOrientation);
    }
    if (!DoorVisibilityNode.empty()) {
        WriteKey(f, "DoorVisibilityNode=%s\n", DoorVisibilityNode);
        WriteKey(f, "DoorVisibilityOrientation=%s\n", DoorVisibilityOrientation);
    }
    WriteKey(f, "ImageMap2D=%s\n\n", ImageMap2D, &UnknownKeys);
    for (int d = 0; d < DoorsHeld(); ++d) {
        const StringList& l = *DoorList;
        const auto at = std::size_t(d);
        f.Printf("[TILE%dDOOR%d]\n", index, d);
        const KeyLines* kept = at < UnknownDoorKeys.size() ? &UnknownDoorKeys[at] : nullptr;
        // The game reads no door past Doors: such a door goes back as the file had it.
        if (d >= Doors && at < DoorLines.size() && DoorLines[at].size() == 5) {
            WriteUnknownKeys(f, DoorLines[at]);
            if (kept) WriteUnknownKeys(f, *kept);
            f.Write("\n");
            continue;
        }
        WriteKey(f, "Type=%s\n", l[5 * d]);
        WriteKey(f, "X=%s\n", l[5 * d + 1]);
        WriteKey(f, "Y=%s\n", l[5 * d + 2]);
        WriteKey(f, "Z=%s\n", l[5 * d + 3]);
        WriteKey(f, "Orientation=%s\n\n", l[5 * d + 4], kept);
    }
}

void CTile::InsertDoor(int d, const StringList& door)
{
    if (!DoorList) DoorList = std::make_unique<StringList>();
    for (int i = 0; i < 5; ++i) DoorList->Insert(5 * d + i, door[i]);
    for (auto* perDoor : {&UnknownDoorKeys, &DoorLines})
        if (perDoor->size() > std::size_t(d)) perDoor->insert(perDoor->begin() + d, KeyLines{});
}

void CTile::DeleteDoor(int d)
{
    for (int i = 0; i < 5; ++i) DoorList->Delete(5 * d);
    for (auto* perDoor : {&UnknownDoorKeys, &DoorLines})
        if (perDoor->size() > std::size_t(d)) perDoor->erase(perDoor->begin() + d);
    if (DoorsHeld() > 0) return;
    DoorList.reset();
    UnknownDoorKeys.clear();
    DoorLines.clear();
}

void CTile::FillMainLists()
{
    Views().FillTiles();
}

void CTile::FillImportLists()
{
    Views().FillImportTiles();
}

void CTile::CopyToMain(const CTile& s)
{
    Model = s.Model;
    WalkMesh = s.WalkMesh;
    TopLeft = s.TopLeft;
    TopRight = s.TopRight;
    BottomLeft = s.BottomLeft;
    BottomRight = s.BottomRight;
    Top = s.Top;
    Right = s.Right;
    Bottom = s.Bottom;
    Left = s.Left;
    PathNode = s.PathNode;
    Orientation = s.Orientation;
    VisibilityNode = s.VisibilityNode;
    VisibilityOrientation = s.VisibilityOrientation;
    ImageMap2D = s.ImageMap2D;
    DoorVisibilityNode = s.DoorVisibilityNode;
    DoorVisibilityOrientation = s.DoorVisibilityOrientation;
    TopLeftHeight = s.TopLeftHeight;
    TopRightHeight = s.TopRightHeight;
    BottomLeftHeight = s.BottomLeftHeight;
    BottomRightHeight = s.BottomRightHeight;
    AnimLoop1 = s.AnimLoop1;
    AnimLoop2 = s.AnimLoop2;
    AnimLoop3 = s.AnimLoop3;
    Doors = s.Doors;
    Sounds = s.Sounds;
    MainLight1 = s.MainLight1 ? 1 : 0;
    MainLight2 = s.MainLight2 ? 1 : 0;
    SourceLight1 = s.SourceLight1 ? 1 : 0;
    SourceLight2 = s.SourceLight2 ? 1 : 0;
    UnknownKeys = s.UnknownKeys;
    if (!s.DoorList) Doors = 0;
    // Every whole door the source holds, those past its count too: the imported tile is
    // written as its source file has it.
    const auto held = std::size_t(s.DoorsHeld());
    for (std::size_t i = 0; i < 5 * held; ++i) {
        if (!DoorList) DoorList = std::make_unique<StringList>();
        DoorList->Add((*s.DoorList)[int(i)]);
    }
    UnknownDoorKeys.assign(s.UnknownDoorKeys.begin(), s.UnknownDoorKeys.begin() + std::min(held, s.UnknownDoorKeys.size()));
    DoorLines.assign(s.DoorLines.begin(), s.DoorLines.begin() + std::min(held, s.DoorLines.size()));
    TS().TileList.Append(this);
}

// Groups

void CGroup::ReadFromSet(TextFile& file)
{
    // Cells are placed when the whole section is known: Rows and Columns may follow them.
    std::vector<CellLine> lines;
    const long header = file.LineNumber();
    readSection(file, [&](const std::string& line) {
        if (is(line, "Name", 4)) Name = TextKey(file, line, "Name");
        else if (is(line, "StrRef", 6)) StrRef = TextKey(file, line, "StrRef");
        else if (is(line, "Rows", 4)) Rows = NumberKey(file, line, "Rows");
        else if (is(line, "Columns", 7)) Columns = NumberKey(file, line, "Columns");
        else if (is(line, "Tile", 4)) {
            std::string v = GetIniValue(line);
            const long n = cellNumber(line);
            lines.push_back({n, StartsWithNoCase(v, "NULL", 4) ? std::string("-1") : std::move(v), file.LineNumber(),
                             QuoteLine(line), n, "its key has no cell number of use"});
        } else {
            KeepUnknownKey(UnknownKeys, line, file.LineNumber());
        }
    });
    const int64_t size = Rows > 0 && Columns > 0 ? int64_t(Rows) * Columns : 0;
    for (CellLine& c : lines) {
        if (c.number < size) continue;
        c.number = -1;
        c.unused = size > 0 ? "outside the group's Rows x Columns" : "the group has no Rows and Columns";
    }
    placeCells(lines, Cells);
    if (Cells.Count() < size)
        NoteFinding(header, "group \"" + QuoteLine(Name) +
                                Format("\" has %d of its %d x %d cells", Cells.Count(), Rows, Columns));
    Tileset& t = TS();
    (t.ReadGroupsIntoMain ? t.GroupList : t.ImportGroups).Append(this);
}

void CGroup::WriteToSet(TextFile& f, int index)
{
    f.Printf("[GROUP%d]\n", index);
    WriteKey(f, "Name=%s\n", Name);
    if (!StrRef.empty()) WriteKey(f, "StrRef=%s\n", StrRef);
    f.Printf("Rows=%d\n", Rows);
    f.Printf("Columns=%d\n", Columns);
    for (int i = 0; i < Cells.Count(); ++i) {
        f.Printf("Tile%d=", i);
        WriteKey(f, "%s\n", Cells[i]); // "Tile%d=%s\n", the cell's text byte for byte
    }
    WriteUnknownKeys(f, UnknownKeys);
    f.Printf("\n");
}

void CGroup::FillMainLists()
{
    Views().FillGroups();
}

void CGroup::FillImportLists()
{
    Views().FillImportGroups();
}

void CGroup::CopyToMain(const CGroup& source)
{
    Name = source.Name;
    StrRef = source.StrRef;
    Rows = source.Rows;
    Columns = source.Columns;
    UnknownKeys = source.UnknownKeys;
    int last = TS().TileList.lastIndex();
    for (int i = 1; i <= source.Cells.Count(); ++i) Cells.Add(IntToStr(last + i));
    TS().GroupList.Append(this);
}
