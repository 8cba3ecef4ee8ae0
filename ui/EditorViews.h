#pragma once
// The editor's side of the model's view seam. The main window owns one and installs it;
// each hook refreshes the views of one kind in the frames that show that kind, reached
// through the window. Every hook is here: one whose tab is not built yet says which tab
// will fill it, and that tab adds its views (and a line to the views test) when it is.
#include <string>

#include "model/Tileset.h"

class TForm1;
class TListView;

class EditorViews : public ModelViews {
public:
    explicit EditorViews(TForm1& form) : form_(form) {}

    void FillGeneral(CGeneral& general) override;
    void ReadGeneralFromFrame(CGeneral& general) override;
    void FillTerrains() override;
    void FillImportTerrains() override;
    void FillCrossers() override;
    void FillImportCrossers() override;
    void FillRules() override;
    void FillTiles() override;
    void FillImportTiles() override;
    void FillGroups() override;
    void FillImportGroups() override;
    void ClearTileLists() override;
    void ClearTerrainCombos() override;
    void ClearCrosserCombos() override;
    void ClearImportGroupView() override;
    void RefillTileLists() override;
    void ClearTileEditorFields() override;
    void TilesetReset() override;
    StringList MainTerrainNames() override;
    StringList MainCrosserNames() override;

    // Tile n's Model changed in place: every row that shows tile n shows its new Model,
    // each list keeping its filter, order and selection. The same for group n's Name.
    void TileModelChanged(int tile);
    void GroupNameChanged(int group);

private:
    TForm1& form_;
    // Set by a reset: the next fill of the kind applies the tab's display filter, when it
    // is on, to the new tileset's entries.
    bool refilterRules_ = false;
    bool refilterTiles_ = false;
    bool refilterGroups_ = false;
};

// What the tabs' tile views share. A view of every tile of TileList, one row (number,
// Model) per tile, its selection dropped; returns the number of tiles.
int FillTileRows(TListView* view);
// The rows of entry n (a list may hold several, as a group's members do) show text in
// their second column.
void ShowTextInRows(TListView* view, int n, const std::string& text);
