#include "ui/EditorViews.h"

#include "ui/ListView.h"
#include "ui/Widgets.h"
#include "ui/frm1.h"
#include "ui/frm4.h"
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
    form_.Fram41->SetTerrainNames(ModelViews::MainTerrainNames());
    // The Terrain / Crosser, Rules and Tiles tabs add their terrain lists here once built.
}

void EditorViews::FillImportTerrains() {} // the Import tab's terrain pick-lists, once built

void EditorViews::FillCrossers()
{
    form_.Fram41->SetCrosserNames(ModelViews::MainCrosserNames());
    // The Terrain / Crosser tab adds its crosser list here once built.
}

void EditorViews::FillImportCrossers() {} // the Import tab's crosser pick-lists, once built

void EditorViews::FillRules() {} // the Rules tab's two lists and its editor, once built

void EditorViews::FillTiles()
{
    form_.Fram41->FillTileList();
    // The Groups, Import and Files/Textures tabs add their tile lists (FillTileRows) and
    // counts here once built.
}

void EditorViews::FillImportTiles() {} // the Import tab's tiles to copy, once built

void EditorViews::FillGroups() {} // the Groups tab's list and editor and the Import tab's groups, once built

void EditorViews::FillImportGroups() {} // the Import tab's groups to copy, once built

void EditorViews::ClearTileLists() {} // the tile lists of the Groups, Import and Files/Textures tabs, once built

void EditorViews::ClearTerrainCombos()
{
    form_.Fram11->SetTerrainNames({});
    form_.Fram41->SetTerrainNames({});
    // The Rules and Tiles tabs empty their terrain pick-lists here once built.
}

void EditorViews::ClearCrosserCombos()
{
    form_.Fram41->SetCrosserNames({});
}

void EditorViews::ClearImportGroupView() {} // the Import tab's list of the tileset's groups, once built

void EditorViews::RefillTileLists() {} // the tile lists of the Groups and Import tabs, once built

void EditorViews::ClearTileEditorFields()
{
    form_.Fram41->ClearTileFields();
}

void EditorViews::TileModelChanged(int tile)
{
    const CTile* t = TS().TileList.At(tile);
    if (!t) return;
    ShowTileModelInRows(form_.Fram41->ListView1, tile, t->Model);
    // The Groups tab (its tile list and the member rows of its editor), the Import tab and
    // the Files/Textures tab add their tile lists here once built.
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

// The Terrain / Crosser tab's list boxes give these once it is built; the model's lists till then.
StringList EditorViews::MainTerrainNames() { return ModelViews::MainTerrainNames(); }

StringList EditorViews::MainCrosserNames() { return ModelViews::MainCrosserNames(); }
