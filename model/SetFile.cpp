// Reading and writing whole .set files: the main reader, the Import tab's reader and the
// writer.
#include "model/Globfun.h"

#include <memory>

#include "platform/Text.h"

namespace {

enum class Header { None, General, Grass, Terrain, Crosser, Primary, Secondary, Tile, Door, Group };

bool starts(const std::string& line, const char* key, std::size_t n)
{
    return StartsWithNoCase(line, key, n);
}

// Which section a line opens. The tests exclude each other; the number in a header is
// never read. A tile header with its line end is at most 11 characters long ([TILE9999]),
// anything longer that starts with [TILE is a door.
Header classify(const std::string& line)
{
    if (line.empty() || line[0] != '[') return Header::None;
    if (starts(line, "[GENERAL]", 9)) return Header::General;
    if (starts(line, "[GRASS]", 7)) return Header::Grass;
    if (starts(line, "[TERRAIN", 8) && !starts(line, "[TERRAIN TYPES]", 14)) return Header::Terrain;
    if (starts(line, "[CROSSER", 8) && !starts(line, "[CROSSER TYPES]", 14)) return Header::Crosser;
    if (starts(line, "[PRIMARY", 8) && !starts(line, "[PRIMARY RULES]", 14)) return Header::Primary;
    if (starts(line, "[SECONDARY", 10) && !starts(line, "[SECONDARY RULES]", 16)) return Header::Secondary;
    if (starts(line, "[TILE", 5) && !starts(line, "[TILES]", 7) && line.size() < 12) return Header::Tile;
    if (starts(line, "[TILE", 5) && line.size() >= 12) return Header::Door;
    if (starts(line, "[GROUP", 6) && !starts(line, "[GROUPS]", 8)) return Header::Group;
    return Header::None;
}

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

// A door header before any tile has no tile to go to: its lines are skipped like any
// other lines outside a section.
void readDoor(TextFile& file, const CPtrList<CTile>& tiles)
{
    if (CTile* tile = tiles.Tail()) tile->ReadDoorSection(file);
}

void writeSetText(TextFile& f, Tileset& t)
{
    f.Printf("; created with Tilvenna Beta 0.85\n\n");
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

void ReadSetFile(TextFile& file)
{
    Tileset& t = TS();
    t.ReadTilesIntoMain = true;
    t.ReadTerrainsIntoMain = true;
    t.ReadCrossersIntoMain = true;
    t.ReadGroupsIntoMain = true;
    LoadingFlagsDown flagsDown;

    std::string line;
    while (ReadSectionLine(file, line)) {
        switch (classify(line)) {
        case Header::General: t.General->ReadFromSet(file, false); break;
        case Header::Grass: t.General->ReadFromSet(file, true); break;
        case Header::Terrain: readNew<CTerrain>(file); break;
        case Header::Crosser: readNew<CCrosser>(file); break;
        case Header::Primary: readRule(file, true); break;
        case Header::Secondary: readRule(file, false); break;
        case Header::Tile: readNew<CTile>(file); break;
        case Header::Door: readDoor(file, t.TileList); break;
        case Header::Group: readNew<CGroup>(file); break;
        case Header::None: break;
        }
    }

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
}

void ReadImportSet(TextFile& file)
{
    Tileset& t = TS();
    t.ReadTilesIntoMain = t.ReadTerrainsIntoMain = t.ReadCrossersIntoMain = t.ReadGroupsIntoMain = false;

    std::string line;
    while (ReadSectionLine(file, line)) {
        switch (classify(line)) {
        case Header::General: {
            auto general = std::make_unique<CGeneral>();
            general->ReadFromSet(file);
            t.ImportGeneral = std::move(general);
            break;
        }
        case Header::Terrain: readNew<CTerrain>(file); break;
        case Header::Crosser: readNew<CCrosser>(file); break;
        case Header::Tile: readNew<CTile>(file); break;
        case Header::Door: readDoor(file, t.ImportTiles); break;
        case Header::Group: readNew<CGroup>(file); break;
        // The source's grass and rules are of no use to an import.
        case Header::Grass:
        case Header::Primary:
        case Header::Secondary:
        case Header::None: break;
        }
    }

    if (!t.ImportGroups.Empty()) Views().FillImportGroups();
    if (!t.ImportTerrains.Empty()) Views().FillImportTerrains();
    if (!t.ImportCrossers.Empty()) Views().FillImportCrossers();
    file.Discard(); // read to the end: closing has nothing to report
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
