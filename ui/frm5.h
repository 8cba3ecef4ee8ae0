#pragma once
// The "Groups" tab: the group list with its sorting, popup menu and display filter, the
// group editor with its member list built from the tile list, and the deletion of a group
// with or without its member tiles. The groups themselves are the model's GroupList (TS());
// a row's caption is the group's number there.
//
// The frame is split over files: frm5.cpp builds the controls, frm5Groups.cpp holds the
// handlers and the group views.
#include <cstdint>
#include <optional>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include "model/Tileset.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

class TFram5 : public TFrame {
    Q_OBJECT
public:
    // Rows and Columns of a group the editor builds.
    static constexpr int MaxSide = 32;

    explicit TFram5(QWidget* parent = nullptr);

    // The group list shows the display filter's selection.
    bool FilterActive = false;
    // The tileset's groups and the reader's flag for them; the model holds them, the tab
    // reaches them here.
    bool& ReadGroupsIntoMain;
    CPtrList<CGroup>& GroupList;
    // The column last clicked in either sortable list.
    int SortColumn = 0;

    // The group list.
    QLabel* CountLabel; // "Count"
    QLineEdit* Edit1;   // number of rows
    TListView* ListView1;
    QLabel* Label1;     // "Group # n" or "No selection"

    // The editor.
    TLabeledEdit* LabeledEdit1; // "Name"
    TLabeledEdit* LabeledEdit2; // "StrRef"
    QLineEdit* Edit2;           // the StrRef's text
    TLabeledEdit* LabeledEdit3; // "Rows"
    TUpDown* UpDown1;
    TLabeledEdit* LabeledEdit4; // "Columns"
    TUpDown* UpDown2;
    QLabel* MembersLabel;       // "Tiles in Group"
    TListView* ListView3;       // the members: cell text and Model
    QPushButton* Button1; // "Add/Copy"
    QPushButton* Button2; // "Save Change"
    QPushButton* Button3; // "Delete"
    QPushButton* Button7; // "Clear Infos"

    // The tiles to pick members from.
    QGroupBox* GroupBox1; // "Tiles"
    TListView* ListView2;
    QPushButton* Button4; // "<"
    QPushButton* Button5; // "< NULL"
    QPushButton* Button6; // "Delete Tile"

    // The display filter.
    QGroupBox* GroupBox2; // "Display Filter"
    TLabeledEdit* LabeledEdit5; // "Name first letters"
    TLabeledEdit* LabeledEdit6; // "A tile member first letters"
    TLabeledEdit* LabeledEdit7; // "Tiles in group"
    TUpDown* UpDown3;
    QPushButton* Button8; // "Apply"
    QPushButton* Button9; // "Clear"

    // On both lists; what shows depends on the list it opens on.
    QMenu* PopupMenu1;
    QAction* Copythisgroup1;
    QAction* Deletethisgroup1;
    QAction* Addthistiletocurrentgroup1;

    // Handlers.
    void ListView1SelectItem();
    void Button2Click();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void LabeledEdit2Change();
    void Button8Click();
    void Button9Click();
    void PopupMenu1Popup(const TListView* on);
    // Both the group list and the tile list sort by the clicked column.
    void ListView1ColumnClick(TListView* view, int column);
    static int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column);

    // Empties the editor: Name, StrRef, Rows and Columns "1", no member.
    void ClearGroupFields();
    // The checks before a group is stored; the first failure shows its message.
    bool ValidateGroupFields();
    // The group editor when it holds typed values or members that "Save Change" or
    // "Add/Copy" has not stored.
    std::optional<UnstoredValues> Unstored() const;
    // The group list shows the groups that pass the filter box.
    void FilterGroupList();

    // The group views: every group into the list with the editor emptied (this tab's part of
    // CGroup::FillMainLists), one group into the editor (CGroup::ShowInFrame) and back
    // (CGroup::ReadFromFrame), and the tiles to pick members from.
    void FillGroupList();
    void ShowInFrame(const CGroup& group);
    void ReadFromFrame(CGroup& group) const;
    void FillTileList();

    // The group of the selected row; null without a selection or for a number no group has.
    CGroup* SelectedGroup() const;
    // Rows x Columns as the editor shows them, without overflow.
    int64_t EditorSize() const;

private:
    void buildGroupList();
    void buildEditor();
    void buildTilesBox();
    void buildFilterBox();
    void connectHandlers();
    // The text of the StrRef edit's number, or "Bad strref".
    void showStrRefText();
    // A member can be added: fewer members than cells, else "Maximum tiles".
    bool roomForMember();
    void deleteGroup(int number, bool withTiles);

    // The group last shown, or the emptied editor.
    EditorSnapshot shown_;
};
