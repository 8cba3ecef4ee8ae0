#include "ui/EditorViews.h"

#include "ui/ListView.h"
#include "ui/Widgets.h"
#include "ui/frm1.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/frm4.h"
#include "ui/frm5.h"
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
    form_.Fram41->SetTerrainNames(names);
}

void EditorViews::FillImportTerrains() {} // the Import tab's terrain pick-lists, once built

void EditorViews::FillCrossers()
{
    const StringList names = ModelViews::MainCrosserNames();
    form_.Fram21->ShowCrossers(names);
    form_.Fram41->SetCrosserNames(names);
}

void EditorViews::FillImportCrossers() {} // the Import tab's crosser pick-lists, once built

void EditorViews::FillRules()
{
    form_.Fram31->ShowRules();
}

void EditorViews::FillTiles()
{
    form_.Fram41->FillTileList();
    form_.Fram51->FillTileList();
    // The Import and Files/Textures tabs add their tile lists (FillTileRows) and counts here
    // once built.
}

void EditorViews::FillImportTiles() {} // the Import tab's tiles to copy, once built

void EditorViews::FillGroups()
{
    form_.Fram51->FillGroupList();
    // The Import tab adds its list of the tileset's groups here once built.
}

void EditorViews::FillImportGroups() {} // the Import tab's groups to copy, once built

void EditorViews::ClearTileLists()
{
    form_.Fram51->ListView2->clear();
    // The Import and Files/Textures tabs add their tile lists and counts here once built.
}

void EditorViews::ClearTerrainCombos()
{
    form_.Fram11->SetTerrainNames({});
    form_.Fram31->ClearTerrainNames();
    form_.Fram41->SetTerrainNames({});
}

void EditorViews::ClearCrosserCombos()
{
    form_.Fram41->SetCrosserNames({});
}

void EditorViews::ClearImportGroupView() {} // the Import tab's list of the tileset's groups, once built

void EditorViews::RefillTileLists()
{
    form_.Fram51->FillTileList();
    // The Import tab adds its tile list here once built.
}

void EditorViews::ClearTileEditorFields()
{
    form_.Fram41->ClearTileFields();
}

void EditorViews::TileModelChanged(int tile)
{
    const CTile* t = TS().TileList.At(tile);
    if (!t) return;
    ShowTileModelInRows(form_.Fram41->ListView1, tile, t->Model);
    ShowTileModelInRows(form_.Fram51->ListView2, tile, t->Model);
    ShowTileModelInRows(form_.Fram51->ListView3, tile, t->Model);
    // The Import tab and the Files/Textures tab add their tile lists here once built.
}

int FillTileRows(TListView* view)
{
    const CPtrList<CTile>& tiles = TS().TileList;
    ListFill fill(view);
    int i = 0;
    for (const CTile* t : tiles) fill.Add(i++, {t->Model});
    return tiles.Count();
}

void ShowTileModelInRows(TListView* view, int tile, const std::string& model)
{
    const QString text = ToQt(model);
    for (int i = 0; i < view->RowCount(); ++i)
        if (TListView::NumberOf(view->Row(i)) == tile) view->Row(i)->setText(1, text);
}

void EditorViews::ClearUnusedFiles() {} // the Files/Textures tab's unused-file list, once built

// As the Terrain / Crosser tab's list boxes show them.
StringList EditorViews::MainTerrainNames() { return form_.Fram21->TerrainNames(); }

StringList EditorViews::MainCrosserNames() { return form_.Fram21->CrosserNames(); }
