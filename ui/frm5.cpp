// The Groups tab's controls: the group list, the editor with its member list, the box of
// tiles to pick members from and the filter box, and the handlers wired to them.
#include "ui/frm5.h"

#include <QCursor>

#include "ui/App.h"

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect r, const char* hint)
{
    auto* b = MakeNamed<QPushButton>(parent, name, caption);
    b->setGeometry(r);
    b->setToolTip(hint);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, QRect r)
{
    auto* l = MakeNamed<QLabel>(parent, name, caption);
    l->setGeometry(r);
    return l;
}

// A read-only number edit with its caption above and its up-down on its right.
TLabeledEdit* numberEdit(QWidget* parent, const char* name, const char* caption, const char* text, QPoint at,
                         TUpDown*& upDown, const char* upDownName, int min, int max)
{
    auto* e = new TLabeledEdit(parent, name, caption);
    e->Place(at.x(), at.y(), 36);
    e->setReadOnly(true);
    e->setText(text);
    upDown = new TUpDown(parent, upDownName, e, min, max);
    upDown->PlaceBesideAssociate();
    return e;
}

QAction* item(QMenu* menu, const char* name, const char* caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

} // namespace

TFram5::TFram5(QWidget* parent)
    : QWidget(parent), ReadGroupsIntoMain(TS().ReadGroupsIntoMain), GroupList(TS().GroupList)
{
    setObjectName("Fram51");
    buildGroupList();
    buildEditor();
    buildTilesBox();
    buildFilterBox();
    connectHandlers();
    shown_.Watch({LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, ListView3});
}

void TFram5::buildGroupList()
{
    CountLabel = label(this, "CountLabel", "Count", QRect(8, 6, 40, 20));
    Edit1 = MakeNamed<QLineEdit>(this, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setGeometry(50, 4, 50, 22);
    ListView1 = new TListView(this, "ListView1", {{"Group #", 60}, {"Name", 135}});
    ListView1->setGeometry(4, 30, 216, 370);
    Label1 = label(this, "Label1", "No selection", QRect(6, 404, 214, 18));
}

void TFram5::buildEditor()
{
    LabeledEdit1 = new TLabeledEdit(this, "LabeledEdit1", "Name");
    LabeledEdit1->Place(230, 24, 280);
    LabeledEdit2 = new TLabeledEdit(this, "LabeledEdit2", "StrRef");
    LabeledEdit2->Place(230, 66, 70);
    // LabeledEdit2KeyPress: a StrRef is typed as digits.
    InstallKeyFilter(LabeledEdit2, "0123456789");
    Edit2 = MakeNamed<QLineEdit>(this, "Edit2");
    Edit2->setReadOnly(true);
    Edit2->setGeometry(306, 66, 204, 22);
    LabeledEdit3 = numberEdit(this, "LabeledEdit3", "Rows", "1", {230, 108}, UpDown1, "UpDown1", 1, MaxSide);
    LabeledEdit4 = numberEdit(this, "LabeledEdit4", "Columns", "1", {310, 108}, UpDown2, "UpDown2", 1, MaxSide);

    MembersLabel = label(this, "MembersLabel", "Tiles in Group", QRect(230, 136, 280, 16));
    ListView3 = new TListView(this, "ListView3", {{"#", 45}, {"Model", 190}});
    ListView3->setGeometry(230, 152, 280, 222);

    // Two rows: four buttons side by side would cut their captions.
    Button1 = button(this, "Button1", "Add/Copy", QRect(230, 378, 138, 26), "Add/Copy a group");
    Button2 = button(this, "Button2", "Save Change", QRect(372, 378, 138, 26), "Save change to current group");
    Button2->setEnabled(false);
    Button3 = button(this, "Button3", "Delete", QRect(230, 406, 138, 26), "Delete selected group");
    Button3->setEnabled(false);
    Button7 = button(this, "Button7", "Clear Infos", QRect(372, 406, 138, 26), "Clear all edit box");
}

void TFram5::buildTilesBox()
{
    GroupBox1 = MakeNamed<QGroupBox>(this, "GroupBox1", "Tiles");
    GroupBox1->setGeometry(518, 4, 326, 290);
    Button4 = button(GroupBox1, "Button4", "<", QRect(8, 24, 80, 26), "Add tile to group");
    Button5 = button(GroupBox1, "Button5", "< NULL", QRect(8, 54, 80, 26), "Add NULL tile to group");
    Button6 = button(GroupBox1, "Button6", "Delete Tile", QRect(8, 96, 80, 26), "Delete tile from group");
    ListView2 = new TListView(GroupBox1, "ListView2", {{"Tile #", 45}, {"Name", 160}});
    ListView2->setGeometry(94, 20, 224, 262);
}

void TFram5::buildFilterBox()
{
    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Display Filter");
    GroupBox2->setGeometry(518, 300, 326, 136);
    LabeledEdit5 = new TLabeledEdit(GroupBox2, "LabeledEdit5", "Name first letters");
    LabeledEdit5->Place(8, 38, 150);
    LabeledEdit6 = new TLabeledEdit(GroupBox2, "LabeledEdit6", "A tile member first letters");
    LabeledEdit6->Place(166, 38, 150);
    LabeledEdit7 = numberEdit(GroupBox2, "LabeledEdit7", "Tiles in group", "-1", {8, 82}, UpDown3, "UpDown3", -1, 36);
    Button8 = button(GroupBox2, "Button8", "Apply", QRect(136, 100, 84, 26), "Apply display filter");
    Button9 = button(GroupBox2, "Button9", "Clear", QRect(228, 100, 84, 26), "Clear filter");
}

void TFram5::connectHandlers()
{
    PopupMenu1 = MakeNamed<QMenu>(this, "PopupMenu1");
    Copythisgroup1 = item(PopupMenu1, "Copythisgroup1", "Copy this group");
    Deletethisgroup1 = item(PopupMenu1, "Deletethisgroup1", "Delete this group");
    Addthistiletocurrentgroup1 = item(PopupMenu1, "Addthistiletocurrentgroup1", "Add this tile to current group");
    for (TListView* view : {ListView1, ListView2}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, Guard([this, view] {
            PopupMenu1Popup(view);
            for (QAction* a : PopupMenu1->actions())
                if (a->isVisible()) {
                    PopupMenu1->popup(QCursor::pos());
                    return;
                }
        }));
        view->OnColumnClick = [this, view](int column) {
            Guard([this, view, column] { ListView1ColumnClick(view, column); })();
        };
    }
    connect(Copythisgroup1, &QAction::triggered, this, Guard([this] { Button1Click(); }));
    connect(Deletethisgroup1, &QAction::triggered, this, Guard([this] { Button3Click(); }));
    connect(Addthistiletocurrentgroup1, &QAction::triggered, this, Guard([this] { Button4Click(); }));

    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, Guard([this] { ListView1SelectItem(); }));
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guard([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, Guard([this] { Button6Click(); }));
    connect(Button7, &QPushButton::clicked, this, Guard([this] { Button7Click(); }));
    connect(Button8, &QPushButton::clicked, this, Guard([this] { Button8Click(); }));
    connect(Button9, &QPushButton::clicked, this, Guard([this] { Button9Click(); }));
    // The StrRef's text follows every change of the edit, by code too.
    connect(LabeledEdit2, &QLineEdit::textChanged, this, Guard([this] { LabeledEdit2Change(); }));
}
