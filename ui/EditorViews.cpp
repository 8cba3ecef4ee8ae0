#include "ui/EditorViews.h"

#include <utility>

#include "ui/ListView.h"
#include "ui/Widgets.h"
#include "ui/frm1.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/frm4.h"
#include "ui/frm5.h"
#include "ui/frm6.h"
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

void EditorViews::FillImportTerrains() { form_.Fram61->FillImportTerrains(); }

void EditorViews::FillCrossers()
{
    const StringList names = ModelViews::MainCrosserNames();
    form_.Fram21->ShowCrossers(names);
    form_.Fram41->SetCrosserNames(names);
}

void EditorViews::FillImportCrossers() { form_.Fram61->FillImportCrossers(); }

void EditorViews::FillRules()
{
    form_.Fram31->ShowRules();
    if (std::exchange(refilterRules_, false) && form_.Fram31->FilterActive) form_.Fram31->FilterRuleList();
}

void EditorViews::FillTiles()
{
    form_.Fram41->FillTileList();
    form_.Fram51->FillTileList();
    form_.Fram61->FillCurrentTiles();
    form_.Fram71->FillTileList();
    if (std::exchange(refilterTiles_, false) && form_.Fram41->FilterActive) form_.Fram41->RerunDisplayFilter();
}

void EditorViews::FillImportTiles() { form_.Fram61->FillImportTiles(); }

void EditorViews::FillGroups()
{
    form_.Fram51->FillGroupList();
    form_.Fram61->FillCurrentGroups();
    if (std::exchange(refilterGroups_, false) && form_.Fram51->FilterActive) form_.Fram51->FilterGroupList();
}

void EditorViews::FillImportGroups() { form_.Fram61->FillImportGroups(); }

void EditorViews::ClearTileLists()
{
    form_.Fram51->ListView2->clear();
    form_.Fram61->ClearCurrentTiles();
    form_.Fram71->ClearTileList();
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

void EditorViews::ClearImportGroupView() { form_.Fram61->ClearImportGroupView(); }

void EditorViews::RefillTileLists()
{
    form_.Fram51->FillTileList();
    form_.Fram61->FillCurrentTiles();
    // After a deletion the Files/Textures tab's numbers would name other tiles: all tiles again.
    form_.Fram71->FillTileList();
}

void EditorViews::ClearTileEditorFields()
{
    form_.Fram41->ClearTileFields();
}

void EditorViews::TileModelChanged(int tile)
{
    const CTile* t = TS().TileList.At(tile);
    if (!t) return;
    ShowTextInRows(form_.Fram41->ListView1, tile, t->Model);
    ShowTextInRows(form_.Fram51->ListView2, tile, t->Model);
    ShowTextInRows(form_.Fram51->ListView3, tile, t->Model);
    ShowTextInRows(form_.Fram61->ListView1, tile, t->Model);
    form_.Fram71->TileModelChanged(tile);
}

void EditorViews::GroupNameChanged(int group)
{
    const CGroup* g = TS().GroupList.At(group);
    if (!g) return;
    ShowTextInRows(form_.Fram51->ListView1, group, g->Name);
    ShowTextInRows(form_.Fram61->ListView4, group, g->Name);
}

int FillTileRows(TListView* view)
{
    const CPtrList<CTile>& tiles = TS().TileList;
    ListFill fill(view);
    int i = 0;
    for (const CTile* t : tiles) fill.Add(i++, {t->Model});
    return tiles.Count();
}

void ShowTextInRows(TListView* view, int n, const std::string& text)
{
    const QString shown = ToQt(text);
    for (int i = 0; i < view->RowCount(); ++i)
        if (TListView::NumberOf(view->Row(i)) == n) view->Row(i)->setText(1, shown);
}

void EditorViews::TilesetReset()
{
    // What the editors hold would go into the new tileset with the next Add/Copy.
    form_.Fram41->ForgetTileset();
    form_.Fram51->ClearGroupFields();
    form_.Fram71->ForgetTileset();
    refilterRules_ = refilterTiles_ = refilterGroups_ = true;
}

// As the Terrain / Crosser tab's list boxes show them.
StringList EditorViews::MainTerrainNames() { return form_.Fram21->TerrainNames(); }

StringList EditorViews::MainCrosserNames() { return form_.Fram21->CrosserNames(); }
