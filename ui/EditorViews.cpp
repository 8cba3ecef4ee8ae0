#include "ui/EditorViews.h"

#include "ui/frm1.h"
#include "ui/frm6.h"
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

void EditorViews::FillImportTerrains() { form_.Fram61->FillImportTerrains(); }

void EditorViews::FillCrossers() {} // the Terrain / Crosser and Tiles tabs' crosser lists, once built

void EditorViews::FillImportCrossers() { form_.Fram61->FillImportCrossers(); }

void EditorViews::FillRules() {} // the Rules tab's two lists and its editor, once built

void EditorViews::FillTiles()
{
    form_.Fram61->FillCurrentTiles();
    // The Tiles, Groups and Files/Textures tabs add their tile lists here once built.
}

void EditorViews::FillImportTiles() { form_.Fram61->FillImportTiles(); }

void EditorViews::FillGroups()
{
    form_.Fram61->FillCurrentGroups();
    // The Groups tab adds its list and editor here once built.
}

void EditorViews::FillImportGroups() { form_.Fram61->FillImportGroups(); }

void EditorViews::ClearTileLists()
{
    form_.Fram61->ClearCurrentTiles();
    // The Groups and Files/Textures tabs empty their tile lists here once built.
}

void EditorViews::ClearTerrainCombos()
{
    form_.Fram11->SetTerrainNames({});
    // The Rules and Tiles tabs empty their terrain pick-lists here once built.
}

void EditorViews::ClearCrosserCombos() {} // the Tiles tab's crosser pick-lists, once built

void EditorViews::ClearImportGroupView() { form_.Fram61->ClearImportGroupView(); }

void EditorViews::RefillTileLists()
{
    form_.Fram61->FillCurrentTiles();
    // The Groups tab refills its tile list here once built.
}

void EditorViews::ClearTileEditorFields() {} // the Tiles tab's editor, once built

void EditorViews::ClearUnusedFiles() {} // the Files/Textures tab's unused-file list, once built

// The Terrain / Crosser tab's list boxes give these once it is built; the model's lists till then.
StringList EditorViews::MainTerrainNames() { return ModelViews::MainTerrainNames(); }

StringList EditorViews::MainCrosserNames() { return ModelViews::MainCrosserNames(); }
