// The Groups tab's handlers: selecting, storing, adding, copying and deleting a group, the
// member list, the checks before a store, the display filter, the column sort and the
// popup menu; and the group views that fill the lists and move a group between the model
// and the editor.
#include <memory>
#include <string>
#include <vector>

#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/EditorViews.h"
#include "ui/frm4.h"
#include "ui/frm5.h"
#include "ui/mainfrm.h"

namespace {

std::string text(const QLineEdit* e)
{
    return FromQt(e->text());
}

bool error(const char* message)
{
    AppDialogs().Message(MsgKind::Error, message, MsgButtons::Ok);
    return false;
}

// The tiles the Tiles tab still has after member tiles went: every tile list shows them
// again, through the Tiles tab's filter when it is on.
void showTilesAfterMembersDeleted()
{
    TFram4& tiles = *Form1->Fram41;
    tiles.ClearTileFields();
    if (TS().TileList.Empty()) {
        tiles.ListView1->clear();
        tiles.Edit1->setText("0");
        ClearTileLists();
        return;
    }
    TS().TileList.Head()->FillMainLists();
    if (tiles.FilterActive) tiles.RerunDisplayFilter();
}

} // namespace

CGroup* TFram5::SelectedGroup() const
{
    const auto n = ListView1->SelectedNumber();
    return n ? GroupList.At(*n) : nullptr;
}

int64_t TFram5::EditorSize() const
{
    // Both come from a file and may be as large as it says.
    return int64_t(LeadingInt(text(LabeledEdit3))) * LeadingInt(text(LabeledEdit4));
}

void TFram5::ListView1SelectItem()
{
    QTreeWidgetItem* row = ListView1->SelectedRow();
    if (!row) {
        // A refill or "Clear Infos" took the selection: nothing for the buttons to act on.
        Button2->setEnabled(false);
        Button3->setEnabled(false);
        Label1->setText("No selection");
        return;
    }
    Button2->setEnabled(true);
    Button3->setEnabled(true);
    if (const CGroup* group = SelectedGroup()) ShowInFrame(*group);
    Edit2->clear();
    Label1->setText("Group # " + row->text(0));
    showStrRefText();
}

void TFram5::LabeledEdit2Change()
{
    showStrRefText();
}

void TFram5::showStrRefText()
{
    const std::string strref = text(LabeledEdit2);
    int n = 0;
    // A file may hold any text here: only a number has a text in the talk table.
    if (!strref.empty() && strref != "-" && TryStrToInt(strref, n))
        Edit2->setText(ToQt(FindStrRefText(n)));
    else
        Edit2->setText("Bad strref");
}

bool TFram5::ValidateGroupFields()
{
    if (LabeledEdit1->text().isEmpty()) return error("Group need a name !");
    const int64_t size = EditorSize();
    const int64_t members = ListView3->RowCount();
    if (size > members) return error("Number of tiles too low");
    if (size < members) return error("Too much tiles !");
    return true;
}

bool TFram5::roomForMember()
{
    if (EditorSize() > ListView3->RowCount()) return true;
    return error("Maximum tiles");
}

void TFram5::Button4Click()
{
    if (!roomForMember()) return;
    const QTreeWidgetItem* tile = ListView2->SelectedRow();
    if (!tile) return;
    ListView3->AddRow(TListView::Text(tile, 0), {TListView::Text(tile, 1)});
}

void TFram5::Button5Click()
{
    if (!roomForMember()) return;
    ListView3->AddRow("-1", {"NULL"});
}

void TFram5::Button6Click()
{
    delete ListView3->SelectedRow();
}

void TFram5::Button7Click()
{
    ClearGroupFields();
    ListView1->clearSelection();
}

void TFram5::ClearGroupFields()
{
    LabeledEdit1->clear();
    LabeledEdit2->clear();
    LabeledEdit3->setText("1");
    LabeledEdit4->setText("1");
    ListView3->clear();
    shown_.Take();
}

std::optional<UnstoredValues> TFram5::Unstored() const
{
    if (!shown_.Differs()) return std::nullopt;
    return ::Unstored(LabeledEdit1, "group editor of the \"Groups\" tab",
                      SelectedGroup() ? "\"Save Change\"" : "\"Add/Copy\"");
}

void TFram5::Button2Click()
{
    const auto n = ListView1->SelectedNumber();
    if (!n || !ValidateGroupFields()) return;
    CGroup* group = GroupList.At(*n);
    if (!group) return;
    ReadFromFrame(*group);
    shown_.Take();
    // Its rows here and in the Import tab's list of the tileset's groups show the new Name.
    Form1->Views().GroupNameChanged(*n);
}

void TFram5::Button1Click()
{
    if (!ValidateGroupFields()) return;
    auto group = std::make_unique<CGroup>();
    ReadFromFrame(*group);
    // A copy of the group on show keeps the keys of other tools that it had.
    if (const CGroup* shown = SelectedGroup()) group->UnknownKeys = shown->UnknownKeys;
    CGroup* added = group.release();
    GroupList.Append(added);
    added->FillMainLists();
    ListView1->SelectNumber(GroupList.lastIndex());
    if (QTreeWidgetItem* row = ListView1->SelectedRow()) Label1->setText("Group # " + row->text(0));
}

void TFram5::Button3Click()
{
    const auto n = ListView1->SelectedNumber();
    if (!n || !GroupList.At(*n)) return;
    Button2->setEnabled(false);
    Button3->setEnabled(false);
    ClearGroupFields();
    const char* question = "Do you want to delete Tiles members from tiles list ?";
    deleteGroup(*n, AppDialogs().Message(MsgKind::Warning, question, MsgButtons::YesNo) == MsgResult::Yes);
}

void TFram5::deleteGroup(int number, bool withTiles)
{
    if (withTiles) {
        TFram4& tiles = *Form1->Fram41;
        // Every cell of every group must be a number before one tile goes, or the cells
        // could not follow the tiles.
        if (!tiles.CheckGroupCellsBeforeDelete()) return;
        std::vector<int> members;
        for (const std::string& cell : GroupList.At(number)->Cells) members.push_back(StrToInt(cell));
        // Each member once, and a cell that names no tile removes nothing.
        tiles.RemoveTiles(members);
        showTilesAfterMembersDeleted();
    }
    GroupList.DeleteAt(number);
    if (!GroupList.Empty()) {
        GroupList.Head()->FillMainLists();
    } else {
        FillGroupList();
        ClearImportGroupView();
    }
    Label1->setText("No selection");
    if (!GroupList.Empty() && FilterActive) FilterGroupList();
}

// ---- Display filter ---------------------------------------------------------------------

void TFram5::FilterGroupList()
{
    if (GroupList.Empty()) return;
    const std::string name = text(LabeledEdit5);
    const std::string member = text(LabeledEdit6);
    const int64_t size = LeadingInt(text(LabeledEdit7));
    int shown = 0;
    {
        ListFill fill(ListView1);
        int n = -1;
        for (const CGroup* g : GroupList) {
            ++n;
            if (!name.empty() && !StartsWithNoCase(g->Name, name, name.size())) continue;
            if (size > 0 && size != int64_t(g->Rows) * g->Columns) continue;
            if (!member.empty() && !GroupHasModelPrefix(g->Cells, member)) continue;
            fill.Add(n, {g->Name});
            ++shown;
        }
    }
    Edit1->setText(QString::number(shown));
}

void TFram5::Button8Click()
{
    FilterActive = true;
    FilterGroupList();
}

void TFram5::Button9Click()
{
    LabeledEdit5->clear();
    LabeledEdit6->clear();
    LabeledEdit7->setText("-1");
    FilterActive = false;
    if (!GroupList.Empty()) GroupList.Head()->FillMainLists();
}

// ---- Sorting and popup --------------------------------------------------------------------

void TFram5::ListView1ColumnClick(TListView* view, int column)
{
    SortColumn = column;
    const int by = SortColumn;
    view->SortRows([by](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView1Compare(a, b, by); });
}

int TFram5::ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column)
{
    return column == 0 ? CompareRowNumbers(a, b) : CompareRowTexts(a, b, 1);
}

void TFram5::PopupMenu1Popup(const TListView* on)
{
    const bool selected = on->SelectedRow() != nullptr;
    const bool groups = on == ListView1;
    Copythisgroup1->setVisible(groups && selected);
    Deletethisgroup1->setVisible(groups && selected);
    Addthistiletocurrentgroup1->setVisible(!groups && selected);
}

// ---- Group views ------------------------------------------------------------------------

void TFram5::FillGroupList()
{
    ClearGroupFields();
    {
        ListFill fill(ListView1);
        int i = 0;
        for (const CGroup* g : GroupList) fill.Add(i++, {g->Name});
    }
    Edit1->setText(QString::number(GroupList.Count()));
}

void TFram5::FillTileList()
{
    FillTileRows(ListView2);
}

void TFram5::ShowInFrame(const CGroup& g)
{
    LabeledEdit1->setText(ToQt(g.Name));
    LabeledEdit2->setText(ToQt(g.StrRef));
    LabeledEdit3->setText(QString::number(g.Rows));
    LabeledEdit4->setText(QString::number(g.Columns));
    {
        ListFill fill(ListView3);
        for (const std::string& cell : g.Cells) {
            // A cell that is not a number (a hand-made file) names no tile; it is kept as it is.
            int n = -1;
            const CTile* tile = TryStrToInt(cell, n) ? TS().TileList.At(n) : nullptr;
            fill.Add(cell, {tile ? std::string_view(tile->Model) : std::string_view("NULL")});
        }
    }
    shown_.Take();
}

void TFram5::ReadFromFrame(CGroup& g) const
{
    g.Name = text(LabeledEdit1);
    g.StrRef = text(LabeledEdit2);
    g.Rows = LeadingInt(text(LabeledEdit3));
    g.Columns = LeadingInt(text(LabeledEdit4));
    g.Cells.Clear();
    for (int i = 0; i < ListView3->RowCount(); ++i) g.Cells.Add(TListView::Text(ListView3->Row(i), 0));
}
