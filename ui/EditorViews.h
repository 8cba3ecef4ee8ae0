#pragma once
// The editor's side of the model's view seam. The main window owns one and installs it;
// each hook refreshes the views of one kind in the frames that show that kind, reached
// through the window. Every hook is here: one whose tab is not built yet says which tab
// will fill it, and that tab adds its views (and a line to the views test) when it is.
#include "model/Tileset.h"

class TForm1;

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
    void ClearUnusedFiles() override;
    StringList MainTerrainNames() override;
    StringList MainCrosserNames() override;

private:
    TForm1& form_;
};
