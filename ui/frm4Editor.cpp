// The Tiles tab's list and editor: selecting, storing, adding and clearing a tile, the
// checks before a store, the column sort, the popup menu, and the tile views that fill the
// list and move a tile between the model and the editor.
#include <memory>

#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/EditorViews.h"
#include "ui/frm4.h"
#include "ui/mainfrm.h"

namespace {

std::string text(const QLineEdit* e)
{
    return FromQt(e->text());
}

std::string text(const QComboBox* c)
{
    return FromQt(c->currentText());
}

void setText(QComboBox* c, const std::string& s)
{
    c->setEditText(ToQt(s));
}

// A flag or height shown as "0" or "1".
QString flagText(uint8_t v)
{
    return v ? "1" : "0";
}

// The boxes are read-only and set by the frame, but a file may have put any text there.
uint8_t heightOf(const QLineEdit* e)
{
    return LeadingInt(text(e)) != 0 ? 1 : 0;
}

bool info(const char* message)
{
    AppDialogs().Message(MsgKind::Information, message, MsgButtons::Ok);
    return false;
}

} // namespace

CTile* TFram4::SelectedTile() const
{
    const auto n = ListView1->SelectedNumber();
    return n ? TS().TileList.At(*n) : nullptr;
}

void TFram4::ListView1SelectItem()
{
    QTreeWidgetItem* row = ListView1->SelectedRow();
    if (!row) {
        // A refill (an import, a deletion, a filter) took the selection: the buttons would
        // act on no tile, and the number shown may now be another tile's.
        Button3->setEnabled(false);
        Button4->setEnabled(false);
        Label1->setText("No selection");
        return;
    }
    NewDoorPending = false;
    Button3->setEnabled(true);
    Button4->setEnabled(true);
    Label1->setText("Tile # " + row->text(0));
    if (const CTile* tile = SelectedTile()) ShowInFrame(*tile);
}

void TFram4::Button4Click()
{
    const auto n = ListView1->SelectedNumber();
    if (!n || !ValidateTileFields()) return;
    CTile* tile = TS().TileList.At(*n);
    if (!tile) return;
    ReadFromFrame(*tile);
    tileShown_.Take();
    // Only the tile's rows change, in this list and in the other tabs' views, so each
    // keeps its filter, order and selection.
    Form1->Views().TileModelChanged(*n);
}

void TFram4::Button2Click()
{
    if (!ValidateTileFields()) return;
    // Empty texts, no door list, no doors, no sounds: the editor gives the rest, and a copy
    // takes no doors.
    auto tile = std::make_unique<CTile>();
    ReadFromFrame(*tile);
    // A copy of the tile on show keeps the keys of other tools that it had.
    if (const CTile* shown = SelectedTile()) tile->UnknownKeys = shown->UnknownKeys;
    CPtrList<CTile>& tiles = TS().TileList;
    CTile* added = tile.release();
    tiles.Append(added);
    added->FillMainLists();
    ShowInFrame(*added);
    ListView1->SelectNumber(tiles.lastIndex());
    if (QTreeWidgetItem* row = ListView1->SelectedRow()) Label1->setText("Tile # " + row->text(0));
}

void TFram4::Button1Click()
{
    ClearTileFields();
    ListView1->clearSelection();
}

bool TFram4::ValidateTileFields()
{
    if (LabeledEdit1->text().isEmpty()) return info("Need a model");
    for (const QComboBox* corner : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        if (corner->currentText().isEmpty()) return info("All terrains not specified");
    if (ComboBox18->currentText().isEmpty()) return info("Need a path node");
    if (Edit6->text().isEmpty()) return info("Need an orientation for path node");
    if (!LabeledEdit4->text().isEmpty() && Edit7->text().isEmpty())
        return info("Need an orientation for visibility node");
    if (!LabeledEdit5->text().isEmpty() && Edit8->text().isEmpty())
        return info("Need an orientation for door node");
    return true;
}

void TFram4::ClearTileFields()
{
    Button3->setEnabled(false);
    Button4->setEnabled(false);
    Label1->setText("No selection");
    LabeledEdit1->clear();
    LabeledEdit2->setText("msb01");
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6, ComboBox7, ComboBox8})
        setText(c, {});
    for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8}) e->setText("0");
    dropOwnPathNode();
    ComboBox18->setCurrentIndex(-1);
    LabeledEdit4->clear();
    LabeledEdit5->clear();
    for (QCheckBox* c : {CheckBox6, CheckBox7, CheckBox8, CheckBox9, CheckBox1, CheckBox2, CheckBox3})
        c->setChecked(false);
    // No tile, so no door of one: a door started for the last tile is dropped too.
    NewDoorPending = false;
    UpDown8->SetMin(0);
    UpDown8->SetMax(0);
    UpDown8->setEnabled(false);
    Edit17->setText("0");
    Edit18->clear();
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{LabeledEdit10, Edit13, Edit14, Edit15, Edit16}) e->clear();
    Image1->ClearPicture();
    updateNewButton();
    tileShown_.Take();
    doorShown_.Take();
}

void TFram4::ForgetTileset()
{
    ClearTileFields();
    // The clearing for a new tile keeps these; they are the last tileset's all the same.
    ComboBox17->setEditText({});
    Label2->clear();
    Image2->ClearPicture();
    tileShown_.Take();
}

void TFram4::FolderChanged()
{
    if (SelectedTile()) showTileMinimap(FromQt(ComboBox17->currentText()));
}

std::optional<UnstoredValues> TFram4::Unstored() const
{
    const bool selected = SelectedTile() != nullptr;
    if (tileShown_.Differs())
        return ::Unstored(LabeledEdit1, "tile editor of the \"Tiles\" tab",
                          selected ? "\"Save Change\"" : "\"Add/Copy\"");
    // Door fields are stored into the selected tile only.
    if (selected && doorShown_.Differs())
        return ::Unstored(LabeledEdit10, "door box of the \"Tiles\" tab", "the door's \"Save\"");
    return std::nullopt;
}

void TFram4::ListView1ColumnClick(int column)
{
    SortColumn = column;
    const int by = SortColumn;
    ListView1->SortRows([by](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView1Compare(a, b, by); });
}

int TFram4::ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column)
{
    return column == 0 ? CompareRowNumbers(a, b) : CompareRowTexts(a, b, 1);
}

void TFram4::PopupMenu1Popup()
{
    const bool rows = ListView1->RowCount() > 0;
    const bool selected = ListView1->SelectedRow() != nullptr;
    Copythistile1->setVisible(selected);
    Delete1->setVisible(selected);
    DeleteAll1->setVisible(rows);
    Seetextures1->setVisible(selected);
}

void TFram4::SetTerrainNames(const StringList& names)
{
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox9, ComboBox10, ComboBox11, ComboBox12})
        AssignItems(c, names);
}

void TFram4::SetCrosserNames(const StringList& names)
{
    for (QComboBox* c : {ComboBox5, ComboBox6, ComboBox7, ComboBox8, ComboBox13, ComboBox14, ComboBox15, ComboBox16})
        AssignItems(c, names);
}

// ---- Tile views ---------------------------------------------------------------------------

void TFram4::FillTileList()
{
    Edit1->setText(QString::number(FillTileRows(ListView1)));
}

void TFram4::showPathNode(const std::string& node)
{
    dropOwnPathNode();
    if (node.empty()) {
        ComboBox18->setCurrentIndex(-1);
        return;
    }
    // Case counts: "a" is an entry of its own, after "Z".
    const int i = ComboBox18->findText(ToQt(node), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0 && i < PathNodeCount) {
        ComboBox18->setCurrentIndex(i);
        return;
    }
    // A node the letters do not name (from another tool, or a damaged file) is shown as it
    // is and stays the tile's own until the user picks a letter.
    ComboBox18->addItem(ToQt(node));
    ComboBox18->setCurrentIndex(PathNodeCount);
}

void TFram4::dropOwnPathNode()
{
    while (ComboBox18->count() > PathNodeCount) ComboBox18->removeItem(ComboBox18->count() - 1);
}

void TFram4::ShowInFrame(const CTile& t)
{
    LabeledEdit1->setText(ToQt(t.Model));
    // Read-only, but the tile's own: a store or a copy keeps it.
    LabeledEdit2->setText(ToQt(t.WalkMesh));
    setText(ComboBox1, t.TopLeft);
    setText(ComboBox2, t.TopRight);
    setText(ComboBox3, t.BottomLeft);
    setText(ComboBox4, t.BottomRight);
    Edit2->setText(flagText(t.TopLeftHeight));
    Edit3->setText(flagText(t.TopRightHeight));
    Edit4->setText(flagText(t.BottomLeftHeight));
    Edit5->setText(flagText(t.BottomRightHeight));
    setText(ComboBox5, t.Top);
    setText(ComboBox6, t.Right);
    setText(ComboBox7, t.Bottom);
    setText(ComboBox8, t.Left);
    showPathNode(t.PathNode);
    // The picture is this tile's: none when it has no node.
    if (ComboBox18->currentIndex() < 0) Image2->ClearPicture();
    ComboBox18Select();
    Edit6->setText(ToQt(t.Orientation));
    LabeledEdit4->setText(ToQt(t.VisibilityNode));
    Edit7->setText(ToQt(t.VisibilityOrientation));
    LabeledEdit5->setText(ToQt(t.DoorVisibilityNode));
    Edit8->setText(ToQt(t.DoorVisibilityOrientation));
    // A damaged minimap only empties its preview: the rest of the tile is still shown.
    showTileMinimap(t.ImageMap2D);
    CheckBox6->setChecked(t.MainLight1);
    CheckBox7->setChecked(t.MainLight2);
    CheckBox8->setChecked(t.SourceLight1);
    CheckBox9->setChecked(t.SourceLight2);
    CheckBox1->setChecked(t.AnimLoop1);
    CheckBox2->setChecked(t.AnimLoop2);
    CheckBox3->setChecked(t.AnimLoop3);
    tileShown_.Take();
    showDoors(t);
}

void TFram4::ReadFromFrame(CTile& t) const
{
    t.Model = text(LabeledEdit1);
    t.WalkMesh = text(LabeledEdit2);
    t.TopLeft = text(ComboBox1);
    t.TopRight = text(ComboBox2);
    t.BottomLeft = text(ComboBox3);
    t.BottomRight = text(ComboBox4);
    t.TopLeftHeight = heightOf(Edit2);
    t.TopRightHeight = heightOf(Edit3);
    t.BottomLeftHeight = heightOf(Edit4);
    t.BottomRightHeight = heightOf(Edit5);
    t.Top = text(ComboBox5);
    t.Right = text(ComboBox6);
    t.Bottom = text(ComboBox7);
    t.Left = text(ComboBox8);
    t.PathNode = text(ComboBox18);
    t.Orientation = text(Edit6);
    t.VisibilityNode = text(LabeledEdit4);
    t.VisibilityOrientation = text(Edit7);
    t.DoorVisibilityNode = text(LabeledEdit5);
    t.DoorVisibilityOrientation = text(Edit8);
    t.ImageMap2D = text(ComboBox17);
    t.MainLight1 = CheckBox6->isChecked();
    t.MainLight2 = CheckBox7->isChecked();
    t.SourceLight1 = CheckBox8->isChecked();
    t.SourceLight2 = CheckBox9->isChecked();
    t.AnimLoop1 = CheckBox1->isChecked();
    t.AnimLoop2 = CheckBox2->isChecked();
    t.AnimLoop3 = CheckBox3->isChecked();
}
