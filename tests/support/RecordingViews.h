#pragma once
// A ModelViews that records what the model asks of the views, in order.
#include <string>
#include <vector>

#include "model/Tileset.h"

class RecordingViews : public ModelViews {
public:
    std::vector<std::string> calls;
    // The loading flags up at each call: "TTCG" (tiles, terrains, crossers, groups), '-' when down.
    std::vector<std::string> flags;
    // When set, ReadGeneralFromFrame puts it in the entry's Name, as the general frame would.
    std::string frameName;

    void FillGeneral(CGeneral&) override { note("FillGeneral"); }
    void ReadGeneralFromFrame(CGeneral& g) override
    {
        note("ReadGeneralFromFrame");
        if (!frameName.empty()) g.Name = frameName;
    }
    void FillTerrains() override { note("FillTerrains"); }
    void FillImportTerrains() override { note("FillImportTerrains"); }
    void FillCrossers() override { note("FillCrossers"); }
    void FillImportCrossers() override { note("FillImportCrossers"); }
    void FillRules() override { note("FillRules"); }
    void FillTiles() override { note("FillTiles"); }
    void FillImportTiles() override { note("FillImportTiles"); }
    void FillGroups() override { note("FillGroups"); }
    void FillImportGroups() override { note("FillImportGroups"); }
    void ClearTileLists() override { note("ClearTileLists"); }
    void ClearTerrainCombos() override { note("ClearTerrainCombos"); }
    void ClearCrosserCombos() override { note("ClearCrosserCombos"); }
    void ClearImportGroupView() override { note("ClearImportGroupView"); }
    void RefillTileLists() override { note("RefillTileLists"); }
    void ClearTileEditorFields() override { note("ClearTileEditorFields"); }
    void TilesetReset() override { note("TilesetReset"); }

private:
    void note(const char* name)
    {
        const Tileset& t = TS();
        calls.emplace_back(name);
        flags.push_back({t.ReadTilesIntoMain ? 'T' : '-', t.ReadTerrainsIntoMain ? 'T' : '-',
                         t.ReadCrossersIntoMain ? 'C' : '-', t.ReadGroupsIntoMain ? 'G' : '-'});
    }
};
