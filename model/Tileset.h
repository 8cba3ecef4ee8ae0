#pragma once
// The tileset being edited and the Import tab's second tileset, as plain model data, and
// the seam through which the model refreshes the editor's views.
#include <memory>
#include <string>
#include <vector>

#include "model/Class.h"
#include "model/Template.h"

struct Tileset {
    // Owned by the general frame, the tabs and the Import tab in the editor; held here so
    // every part of the editor reaches them the same way. Each list owns its entries and
    // hands them out as pointers (CTerrain *, CCrosser *, CRules *, CTile *, CGroup *), and
    // General is the one CGeneral * of the tileset.
    std::unique_ptr<CGeneral> General = std::make_unique<CGeneral>();
    CPtrList<CTerrain> TerrainList;
    CPtrList<CCrosser> CrosserList;
    CPtrList<CRules> PrimaryRuleList;
    CPtrList<CRules> SecondaryRuleList;
    CPtrList<CTile> TileList;
    CPtrList<CGroup> GroupList;
    // The comment lines that stood before the file's first section (its authors' credits),
    // written back under the program's own head line.
    std::vector<std::string> Comments;

    std::unique_ptr<CGeneral> ImportGeneral = std::make_unique<CGeneral>();
    CPtrList<CTerrain> ImportTerrains;
    CPtrList<CCrosser> ImportCrossers;
    CPtrList<CTile> ImportTiles;
    CPtrList<CGroup> ImportGroups;

    // Up only while the main file reader runs: section readers then append to the main
    // lists, otherwise to the Import tab's lists.
    bool ReadTerrainsIntoMain = false;
    bool ReadCrossersIntoMain = false;
    bool ReadTilesIntoMain = false;
    bool ReadGroupsIntoMain = false;

    // A new, empty General, empty main lists and no comments.
    void ClearMain();
    // Empty import lists, as each open of a source starts. ImportGeneral stays until a
    // source with a [GENERAL] section replaces it.
    void ClearImport();
};

// The one tileset of the program.
Tileset& TS();
// Empties both tilesets and lowers the flags (tests, tools).
void ResetAllModelData();

// What the model asks of the editor's views. The editor implements it; without an editor
// every call does nothing.
class ModelViews {
public:
    virtual ~ModelViews() = default;
    virtual void FillGeneral(CGeneral&) {}
    // Copies the general frame's controls into the entry before it is written.
    virtual void ReadGeneralFromFrame(CGeneral&) {}
    virtual void FillTerrains() {}
    virtual void FillImportTerrains() {}
    virtual void FillCrossers() {}
    virtual void FillImportCrossers() {}
    virtual void FillRules() {}
    virtual void FillTiles() {}
    virtual void FillImportTiles() {}
    virtual void FillGroups() {}
    virtual void FillImportGroups() {}
    virtual void ClearTileLists() {}
    virtual void ClearTerrainCombos() {}
    virtual void ClearCrosserCombos() {}
    virtual void ClearImportGroupView() {}
    virtual void RefillTileLists() {}
    virtual void ClearTileEditorFields() {}
    // The main tileset was emptied for Open or New: the views let go of everything they
    // still hold of the last one (editors, reports, previews), before the lists are filled.
    virtual void TilesetReset() {}
    // The terrain and crosser names as the Terrain / Crosser tab lists them. Without an
    // editor they are the names of TerrainList and CrosserList.
    virtual StringList MainTerrainNames();
    virtual StringList MainCrosserNames();
};

ModelViews& Views();
void SetModelViews(ModelViews* views); // nullptr restores the silent default
