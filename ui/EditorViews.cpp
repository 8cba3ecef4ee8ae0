#include "ui/EditorViews.h"

#include "ui/frm1.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

void EditorViews::FillGeneral(CGeneral& general)
{
    form_.Fram11->ShowGeneral(general);
}

void EditorViews::ReadGeneralFromFrame(CGeneral& general)
{
    form_.Fram11->ReadGeneral(general);
}

void EditorViews::FillTerrains()
{
    form_.Fram11->SetTerrainNames(ModelViews::MainTerrainNames());
    // The Terrain / Crosser, Rules and Tiles tabs add their terrain lists here once built.
}

void EditorViews::FillImportTerrains() {} // the Import tab's terrain pick-lists, once built

void EditorViews::FillCrossers() {} // the Terrain / Crosser and Tiles tabs' crosser lists, once built

void EditorViews::FillImportCrossers() {} // the Import tab's crosser pick-lists, once built

void EditorViews::FillRules() {} // the Rules tab's two lists and its editor, once built

void EditorViews::FillTiles()
{
    form_.Fram71->FillTileList();
    // The Tiles, Groups and Import tabs add their tile lists here once built.
}

void EditorViews::FillImportTiles() {} // the Import tab's tiles to copy, once built

void EditorViews::FillGroups() {} // the Groups tab's list and editor and the Import tab's groups, once built

void EditorViews::FillImportGroups() {} // the Import tab's groups to copy, once built

void EditorViews::ClearTileLists()
{
    form_.Fram71->ClearTileList();
    // The Groups and Import tabs empty their tile lists here once built.
}

void EditorViews::ClearTerrainCombos()
{
    form_.Fram11->SetTerrainNames({});
    // The Rules and Tiles tabs empty their terrain pick-lists here once built.
}

void EditorViews::ClearCrosserCombos() {} // the Tiles tab's crosser pick-lists, once built

void EditorViews::ClearImportGroupView() {} // the Import tab's list of the tileset's groups, once built

void EditorViews::RefillTileLists()
{
    // After a deletion the Files/Textures tab's numbers would name other tiles: all tiles again.
    form_.Fram71->FillTileList();
    // The Groups and Import tabs refill their tile lists here once built.
}

void EditorViews::ClearTileEditorFields() {} // the Tiles tab's editor, once built

void EditorViews::ClearUnusedFiles()
{
    form_.Fram71->ClearUnusedFiles();
}

// The Terrain / Crosser tab's list boxes give these once it is built; the model's lists till then.
StringList EditorViews::MainTerrainNames() { return ModelViews::MainTerrainNames(); }

StringList EditorViews::MainCrosserNames() { return ModelViews::MainCrosserNames(); }
