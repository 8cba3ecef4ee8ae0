#include "ui/EditorViews.h"

#include "ui/frm1.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/mainfrm.h"

void EditorViews::FillGeneral(CGeneral& general)
{
    form_.Fram11->ShowGeneral(general);
}

void EditorViews::ReadGeneralFromFrame(CGeneral& general)
{
    form_.Fram11->ReadGeneral(general);
}

// One call per frame that shows the names; the Terrain / Crosser tab's list first, as the
// other frames' checks read the names from it.
void EditorViews::FillTerrains()
{
    const StringList names = ModelViews::MainTerrainNames();
    form_.Fram21->ShowTerrains(names);
    form_.Fram11->SetTerrainNames(names);
    form_.Fram31->SetTerrainNames(names);
    // The Tiles tab adds its terrain pick-lists here once built.
}

void EditorViews::FillImportTerrains() {} // the Import tab's terrain pick-lists, once built

void EditorViews::FillCrossers()
{
    const StringList names = ModelViews::MainCrosserNames();
    form_.Fram21->ShowCrossers(names);
    // The Tiles tab adds its crosser pick-lists here once built.
}

void EditorViews::FillImportCrossers() {} // the Import tab's crosser pick-lists, once built

void EditorViews::FillRules()
{
    form_.Fram31->ShowRules();
}

void EditorViews::FillTiles() {} // the tile lists of the Tiles, Groups, Import and Files/Textures tabs, once built

void EditorViews::FillImportTiles() {} // the Import tab's tiles to copy, once built

void EditorViews::FillGroups() {} // the Groups tab's list and editor and the Import tab's groups, once built

void EditorViews::FillImportGroups() {} // the Import tab's groups to copy, once built

void EditorViews::ClearTileLists() {} // the tile lists of the Groups, Import and Files/Textures tabs, once built

void EditorViews::ClearTerrainCombos()
{
    form_.Fram11->SetTerrainNames({});
    form_.Fram31->ClearTerrainNames();
    // The Tiles tab empties its terrain pick-lists here once built.
}

void EditorViews::ClearCrosserCombos() {} // the Tiles tab's crosser pick-lists, once built

void EditorViews::ClearImportGroupView() {} // the Import tab's list of the tileset's groups, once built

void EditorViews::RefillTileLists() {} // the tile lists of the Groups and Import tabs, once built

void EditorViews::ClearTileEditorFields() {} // the Tiles tab's editor, once built

void EditorViews::ClearUnusedFiles() {} // the Files/Textures tab's unused-file list, once built

// As the Terrain / Crosser tab's list boxes show them.
StringList EditorViews::MainTerrainNames() { return form_.Fram21->TerrainNames(); }

StringList EditorViews::MainCrosserNames() { return form_.Fram21->CrosserNames(); }
