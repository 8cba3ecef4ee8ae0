// Operations on the tileset as a whole: reset, keeping group cells right, look-ups,
// renames, and the copies that bring import entries into the main lists.
#include "model/Globfun.h"

#include <vector>

#include "platform/Text.h"

namespace {

// Every cell as a number, or EConvertError for the first that is not one. Callers convert
// all cells before they act, so a bad cell never leaves an operation half done.
std::vector<int> cellNumbers(const StringList& cells)
{
    std::vector<int> numbers;
    numbers.reserve(std::size_t(cells.Count()));
    for (const std::string& cell : cells) numbers.push_back(StrToInt(cell));
    return numbers;
}

int findGroupOfTile(const CPtrList<CGroup>& groups, int tile)
{
    const std::string text = IntToStr(tile);
    int found = -1;
    int pos = 0;
    for (const CGroup* g : groups) {
        for (const std::string& cell : g->Cells)
            if (cell == text) found = pos;
        ++pos;
    }
    return found;
}

bool groupHasModelPrefix(const CPtrList<CTile>& tiles, const StringList& cells, const std::string& prefix)
{
    // A cell of a hand-made file that is no number names no tile: a filter never stops on it.
    for (const std::string& cell : cells) {
        int number = -1;
        if (!TryStrToInt(cell, number)) continue;
        const CTile* tile = tiles.At(number);
        if (tile && StartsWithNoCase(tile->Model, prefix, prefix.size())) return true;
    }
    return false;
}

// Adds name to wanted when it is not empty and neither the main names nor wanted hold it,
// ignoring case.
void collectMissing(const std::string& name, const StringList& mainNames, StringList& wanted)
{
    if (name.empty()) return;
    if (mainNames.IndexOf(name) >= 0 || wanted.IndexOf(name) >= 0) return;
    wanted.Add(name);
}

// Copies the first import entry named name, compared as it was collected (ignoring case),
// so one missing name brings in one entry.
template <class Entry>
void copyFirstNamed(const CPtrList<Entry>& source, const std::string& name)
{
    for (const Entry* e : source) {
        if (EqualsNoCase(e->Name, name)) {
            (new Entry)->CopyToMain(*e);
            return;
        }
    }
}

// A field naming the old name in any letter case takes the new one as typed; counts 1 when
// that changed it (a rename in letter case only leaves the fields already written so).
int renameField(std::string& field, const std::string& oldName, const std::string& newName)
{
    if (!EqualsNoCase(field, oldName) || field == newName) return 0;
    field = newName;
    return 1;
}

} // namespace

void ResetTileset()
{
    TS().ClearMain();
    Views().TilesetReset();
}

int RenumberGroupTilesAfterDelete(int n)
{
    Tileset& t = TS();
    std::vector<std::vector<int>> numbers;
    numbers.reserve(std::size_t(t.GroupList.Count()));
    for (const CGroup* g : t.GroupList) numbers.push_back(cellNumbers(g->Cells));

    std::size_t gi = 0;
    for (CGroup* g : t.GroupList) {
        const std::vector<int>& cells = numbers[gi++];
        for (int i = 0; i < int(cells.size()); ++i) {
            int c = cells[std::size_t(i)];
            if (c > n) g->Cells.Put(i, IntToStr(c - 1));
            else if (c == n) g->Cells.Put(i, "-1");
        }
    }
    return 0;
}

int FindGroupOfTile(int tile)
{
    return findGroupOfTile(TS().GroupList, tile);
}

int FindImportGroupOfTile(int tile)
{
    return findGroupOfTile(TS().ImportGroups, tile);
}

int FindTileByModel(const std::string& model)
{
    if (model == "NULL") return -1;
    int found = -1;
    int pos = 0;
    for (const CTile* tile : TS().TileList) {
        if (tile->Model == model) found = pos;
        ++pos;
    }
    return found;
}

bool TileModelExists(const CTile& tile)
{
    for (const CTile* t : TS().TileList)
        if (t->Model == tile.Model) return true;
    return false;
}

bool GroupNameExists(const CGroup& group)
{
    for (const CGroup* g : TS().GroupList)
        if (g->Name == group.Name) return true;
    return false;
}

bool GroupHasModelPrefix(const StringList& cells, const std::string& prefix)
{
    return groupHasModelPrefix(TS().TileList, cells, prefix);
}

bool ImportGroupHasModelPrefix(const StringList& cells, const std::string& prefix)
{
    return groupHasModelPrefix(TS().ImportTiles, cells, prefix);
}

int RenameTerrainEverywhere(std::string oldName, std::string newName)
{
    Tileset& t = TS();
    int count = 0;
    for (CTile* tile : t.TileList)
        for (std::string* corner : {&tile->TopLeft, &tile->TopRight, &tile->BottomLeft, &tile->BottomRight})
            count += renameField(*corner, oldName, newName);
    Views().ClearTileEditorFields();
    // The general settings name terrains too; what is saved is what the general frame shows,
    // so the rename goes through the frame. They are checked against the terrain names
    // without regard to case, and follow the terrain entries the same way.
    CGeneral& general = *t.General;
    general.ReadFromFrame();
    int generalCount = 0;
    for (std::string* field : {&general.Border, &general.Default, &general.Floor})
        generalCount += renameField(*field, oldName, newName);
    if (generalCount > 0) general.FillMainLists();
    count += generalCount;
    if (!t.TerrainList.Empty()) {
        for (CTerrain* terrain : t.TerrainList)
            if (EqualsNoCase(terrain->Name, oldName)) terrain->SetName(newName);
        Views().FillTerrains();
    }
    for (CPtrList<CRules>* rules : {&t.PrimaryRuleList, &t.SecondaryRuleList}) {
        for (CRules* rule : *rules)
            for (std::string* field : {&rule->Placed, &rule->Adjacent, &rule->Changed})
                count += renameField(*field, oldName, newName);
    }
    if (!t.PrimaryRuleList.Empty() || !t.SecondaryRuleList.Empty()) Views().FillRules();
    return count;
}

int RenameCrosserEverywhere(std::string oldName, std::string newName)
{
    Tileset& t = TS();
    int count = 0;
    for (CTile* tile : t.TileList) {
        for (std::string* edge : {&tile->Top, &tile->Right, &tile->Bottom, &tile->Left})
            count += renameField(*edge, oldName, newName);
    }
    if (!t.CrosserList.Empty()) {
        for (CCrosser* crosser : t.CrosserList)
            if (EqualsNoCase(crosser->Name, oldName)) crosser->SetName(newName);
        Views().FillCrossers();
    }
    Views().ClearTileEditorFields();
    return count;
}

void AddMissingTerrainsAndCrossers(const CTile& tile)
{
    Tileset& t = TS();
    StringList terrains;
    const StringList mainTerrains = Views().MainTerrainNames();
    for (const std::string* name : {&tile.TopLeft, &tile.TopRight, &tile.BottomLeft, &tile.BottomRight})
        collectMissing(*name, mainTerrains, terrains);

    StringList crossers;
    const StringList mainCrossers = Views().MainCrosserNames();
    for (const std::string* name : {&tile.Top, &tile.Bottom, &tile.Left, &tile.Right})
        collectMissing(*name, mainCrossers, crossers);

    for (const std::string& name : terrains) copyFirstNamed(t.ImportTerrains, name);
    for (const std::string& name : crossers) copyFirstNamed(t.ImportCrossers, name);

    if (!t.TerrainList.Empty()) Views().FillTerrains();
    if (!t.CrosserList.Empty()) Views().FillCrossers();
}

void ClearTileLists()
{
    Views().ClearTileLists();
}

void ClearTerrainCombos()
{
    Views().ClearTerrainCombos();
}

void ClearCrosserCombos()
{
    Views().ClearCrosserCombos();
}

void ClearImportGroupView()
{
    Views().ClearImportGroupView();
}

void RefillTileLists()
{
    Views().RefillTileLists();
}
