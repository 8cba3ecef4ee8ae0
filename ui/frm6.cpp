// The Import tab's controls and their wiring.
#include "ui/frm6.h"

#include <initializer_list>

#include "gamedata/GameData.h"
#include "ui/App.h"
#include "ui/mainfrm.h"

namespace {

QLineEdit* readOnlyEdit(QWidget* parent, const char* name, int x, int y, int w)
{
    auto* e = MakeNamed<QLineEdit>(parent, name);
    e->setReadOnly(true);
    e->setGeometry(x, y, w, 22);
    return e;
}

TLabeledEdit* labeledEdit(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                          bool readOnly = true)
{
    auto* e = new TLabeledEdit(parent, name, caption);
    e->Place(x, y, w);
    e->setReadOnly(readOnly);
    return e;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y, int w)
{
    auto* l = MakeNamed<QLabel>(parent, name, caption);
    l->setGeometry(x, y, w, 18);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* hint, QRect at)
{
    auto* b = MakeNamed<QPushButton>(parent, name, caption);
    if (hint) b->setToolTip(hint);
    b->setGeometry(at);
    return b;
}

template <class Box>
Box* check(QWidget* parent, const char* name, const char* caption, QRect at)
{
    auto* c = MakeNamed<Box>(parent, name, caption);
    c->setGeometry(at);
    return c;
}

QComboBox* pickList(QWidget* parent, const char* name, int x, int y)
{
    auto* c = MakeNamed<QComboBox>(parent, name);
    MakeEditablePickList(c);
    c->setGeometry(x, y, 120, 22);
    return c;
}

// A read-only number edit with its up-down.
void upDown(QWidget* parent, const char* name, QLineEdit* edit, int min, int max)
{
    auto* u = new TUpDown(parent, name, edit, min, max);
    u->PlaceBesideAssociate();
    u->SetPosition(-1);
}

} // namespace

TFram6::TFram6(QWidget* parent)
    : QWidget(parent), ImportGeneral(TS().ImportGeneral), ImportTerrains(TS().ImportTerrains),
      ImportCrossers(TS().ImportCrossers), ImportTiles(TS().ImportTiles), ImportGroups(TS().ImportGroups)
{
    setObjectName("Fram61");
    // The page the tab gets when the window shows a tileset.
    resize(TForm1::WindowWidth, 456);
    buildCurrentSet();
    buildSource();
    OpenDialog1.defaultExt = "set";
    OpenDialog1.filter = "Fichiers SET (*.set)|*.set;*.SET";
    connectHandlers();
}

void TFram6::buildCurrentSet()
{
    LabeledEdit3 = labeledEdit(this, "LabeledEdit3", "FileName", 8, 20, 190);
    auto box = [this](QGroupBox*& group, TListView*& list, QLineEdit*& count, const char* name, const char* caption,
                      const char* listName, ListColumn number, const char* countName) {
        group = MakeNamed<QGroupBox>(this, name, caption);
        group->setGeometry(4, 48, 200, 404);
        list = new TListView(group, listName, {number, {"Model", 110}});
        list->setGeometry(8, 20, 184, 344);
        label(group, (std::string(countName) + "Label").c_str(), "Count", 8, 374, 40);
        count = readOnlyEdit(group, countName, 50, 372, 60);
    };
    box(GroupBox1, ListView1, Edit1, "GroupBox1", "Current Set tiles list", "ListView1", {"Tiles #", 60}, "Edit1");
    box(GroupBox7, ListView4, Edit18, "GroupBox7", "Current Set groups list", "ListView4", {"Groups #", 60}, "Edit18");
    ListView4->setHeaderLabels({"Groups #", "Name"});
    GroupBox7->hide();

    Button5 = button(this, "Button5", "<", "Import selected Tile/Group", {208, 200, 84, 28});
    Button8 = button(this, "Button8", "<<", "Import ALL displayed tiles/groups", {208, 236, 84, 28});
    Button1 = button(this, "Button1", "Open Set File", "Open another Set file to import Tile/Group", {296, 4, 110, 26});
    Button9 = button(this, "Button9", "NWN", "Open a Set file from NWN", {410, 4, 84, 26});
    Button2 = button(this, "Button2", "Close Set File", "Close this set file", {498, 4, 110, 26});
    RadioButton3 = check<QRadioButton>(this, "RadioButton3", "Tiles", {620, 8, 70, 20});
    RadioButton4 = check<QRadioButton>(this, "RadioButton4", "Groups", {694, 8, 80, 20});
    RadioButton3->setChecked(true);
    GroupRadioButtons({RadioButton3, RadioButton4});
}

void TFram6::buildSource()
{
    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Tiles to copy");
    GroupBox2->setGeometry(296, 34, 550, 418);
    QWidget* g = GroupBox2;
    LabeledEdit2 = labeledEdit(g, "LabeledEdit2", "FileName", 8, 36, 300);
    LabeledEdit1 = labeledEdit(g, "LabeledEdit1", "TileSet Name", 316, 36, 224);
    ListView2 = new TListView(g, "ListView2", {{"Tiles #", 56}, {"Model", 110}});
    ListView3 = new TListView(g, "ListView3", {{"Group #", 56}, {"Name", 110}});
    for (TListView* v : {ListView2, ListView3}) {
        v->setGeometry(8, 64, 180, 240);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    ListView3->hide();
    label(g, "Edit3Label", "Count", 8, 312, 40);
    Edit3 = readOnlyEdit(g, "Edit3", 50, 310, 60);
    Label10 = label(g, "Label10", "", 116, 312, 72);
    RadioButton1 = check<QRadioButton>(g, "RadioButton1", "Infos", {200, 60, 70, 20});
    RadioButton2 = check<QRadioButton>(g, "RadioButton2", "Display Filter", {274, 60, 120, 20});
    RadioButton1->setChecked(true);
    GroupRadioButtons({RadioButton1, RadioButton2});
    CheckBox1 = check<QCheckBox>(g, "CheckBox1", "Auto Import Terrain/Crosser", {8, 336, 190, 20});
    CheckBox6 = check<QCheckBox>(g, "CheckBox6", "Auto Convert MDL to ASCII", {8, 358, 190, 20});
    ProgressBar1 = MakeNamed<QProgressBar>(g, "ProgressBar1");
    ProgressBar1->setGeometry(8, 388, 184, 14);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    // The four panels share one place; the tile information sits outside the source's
    // box, over the same spot, so it stays readable while the source is closed.
    const QRect panel(200, 84, 342, 328);
    GroupBox4 = MakeNamed<QGroupBox>(this, "GroupBox4", "Tile infos");
    GroupBox4->setGeometry(panel.translated(GroupBox2->pos()));
    buildTileInfo(GroupBox4);
    GroupBox6 = MakeNamed<QGroupBox>(g, "GroupBox6", "Group infos");
    buildGroupInfo(GroupBox6);
    GroupBox3 = MakeNamed<QGroupBox>(g, "GroupBox3", "Tiles display Filter");
    buildTileFilter(GroupBox3);
    GroupBox5 = MakeNamed<QGroupBox>(g, "GroupBox5", "Groups display filter");
    buildGroupFilter(GroupBox5);
    for (QGroupBox* b : {GroupBox3, GroupBox5, GroupBox6}) {
        b->setGeometry(panel);
        b->hide();
    }
    GroupBox4->raise();

    PopupMenu1 = MakeNamed<QMenu>(this, "PopupMenu1");
    ImportThisTile1 = PopupMenu1->addAction("Import this tile");
    ImportThisTile1->setObjectName("ImportThisTile1");
    ImportAllDisplayedTiles1 = PopupMenu1->addAction("Import all displayed tiles");
    ImportAllDisplayedTiles1->setObjectName("ImportAllDisplayedTiles1");
    ImportThisGroup1 = PopupMenu1->addAction("Import this group");
    ImportThisGroup1->setObjectName("ImportThisGroup1");

    // No source yet: only the two open buttons act.
    enableSource(false);
    CheckBox6->setEnabled(false);
}

void TFram6::buildTileInfo(QWidget* g)
{
    label(g, "Edit17Label", "Model", 8, 22, 50);
    Edit17 = readOnlyEdit(g, "Edit17", 60, 20, 150);
    LabeledEdit5 = labeledEdit(g, "LabeledEdit5", "Top Left", 8, 62, 100);
    Edit7 = readOnlyEdit(g, "Edit7", 112, 62, 24);
    LabeledEdit6 = labeledEdit(g, "LabeledEdit6", "Top Right", 150, 62, 100);
    Edit8 = readOnlyEdit(g, "Edit8", 254, 62, 24);
    LabeledEdit7 = labeledEdit(g, "LabeledEdit7", "Bottom Left", 8, 104, 100);
    Edit9 = readOnlyEdit(g, "Edit9", 112, 104, 24);
    LabeledEdit8 = labeledEdit(g, "LabeledEdit8", "Bottom Right", 150, 104, 100);
    Edit10 = readOnlyEdit(g, "Edit10", 254, 104, 24);
    LabeledEdit9 = labeledEdit(g, "LabeledEdit9", "Top", 8, 146, 70);
    LabeledEdit10 = labeledEdit(g, "LabeledEdit10", "Right", 84, 146, 70);
    LabeledEdit11 = labeledEdit(g, "LabeledEdit11", "Bottom", 160, 146, 70);
    LabeledEdit12 = labeledEdit(g, "LabeledEdit12", "Left", 236, 146, 70);
    // Node and orientation side by side, one row per node.
    label(g, "Edit11Label", "Path Node", 8, 180, 96);
    Edit11 = readOnlyEdit(g, "Edit11", 104, 178, 40);
    Edit14 = readOnlyEdit(g, "Edit14", 148, 178, 50);
    label(g, "Edit12Label", "Visibility Node", 8, 206, 96);
    Edit12 = readOnlyEdit(g, "Edit12", 104, 204, 40);
    Edit15 = readOnlyEdit(g, "Edit15", 148, 204, 50);
    label(g, "Edit13Label", "Door Visibility", 8, 232, 96);
    Edit13 = readOnlyEdit(g, "Edit13", 104, 230, 40);
    Edit16 = readOnlyEdit(g, "Edit16", 148, 230, 50);
    LabeledEdit19 = labeledEdit(g, "LabeledEdit19", "Doors Count", 8, 278, 50);
    Image1 = new TImage(g, "Image1");
    Image1->setGeometry(210, 178, 100, 100);
    Image1->SetStretch(true);
    // A note in place of a picture ("Unreadable picture") wraps in the small box.
    Image1->setWordWrap(true);
    Edit22 = readOnlyEdit(g, "Edit22", 210, 282, 100);
    Label1 = label(g, "Label1", "", 210, 308, 100);
}

void TFram6::buildGroupInfo(QWidget* g)
{
    LabeledEdit13 = labeledEdit(g, "LabeledEdit13", "Name", 8, 38, 150);
    LabeledEdit14 = labeledEdit(g, "LabeledEdit14", "StrRef", 166, 38, 70);
    Edit21 = readOnlyEdit(g, "Edit21", 8, 66, 300);
    label(g, "Edit19Label", "Rows", 8, 100, 50);
    Edit19 = readOnlyEdit(g, "Edit19", 60, 98, 40);
    label(g, "Edit20Label", "Columns", 116, 100, 60);
    Edit20 = readOnlyEdit(g, "Edit20", 178, 98, 40);
    label(g, "ListBox1Label", "Tiles members", 8, 130, 120);
    ListBox1 = MakeNamed<QListWidget>(g, "ListBox1");
    ListBox1->setGeometry(8, 150, 200, 170);
}

void TFram6::buildTileFilter(QWidget* g)
{
    Button3 = button(g, "Button3", "Apply", "Apply filter", {256, 16, 80, 24});
    Button4 = button(g, "Button4", "Reset", "Clear filter", {256, 44, 80, 24});
    LabeledEdit4 = labeledEdit(g, "LabeledEdit4", "Model first letters search", 8, 34, 150, false);
    CheckBox2 = check<QCheckBox>(g, "CheckBox2", "All instances of", {8, 60, 150, 20});
    const char* cornerNames[4][4] = {{"Label2", "TopLeft", "ComboBox1", "Edit2"},
                                     {"Label3", "TopRight", "ComboBox2", "Edit4"},
                                     {"Label4", "BottomLeft", "ComboBox3", "Edit5"},
                                     {"Label5", "BottomRight", "ComboBox4", "Edit6"}};
    QLabel** cornerLabels[] = {&Label2, &Label3, &Label4, &Label5};
    QComboBox** cornerBoxes[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4};
    QLineEdit** heights[] = {&Edit2, &Edit4, &Edit5, &Edit6};
    for (int i = 0; i < 4; ++i) {
        const int y = 82 + 22 * i;
        *cornerLabels[i] = label(g, cornerNames[i][0], cornerNames[i][1], 8, y + 2, 80);
        *cornerBoxes[i] = pickList(g, cornerNames[i][2], 90, y);
        *heights[i] = readOnlyEdit(g, cornerNames[i][3], 216, y, 30);
        upDown(g, (std::string("UpDown") + std::to_string(i + 2)).c_str(), *heights[i], -1, 1);
    }
    CheckBox3 = check<QCheckBox>(g, "CheckBox3", "No crosser at all", {8, 172, 140, 20});
    CheckBox4 = check<QCheckBox>(g, "CheckBox4", "All instance of", {150, 172, 120, 20});
    CheckBox5 = check<QCheckBox>(g, "CheckBox5", "only", {272, 172, 60, 20});
    CheckBox5->hide();
    const char* edgeNames[4][3] = {{"Label6", "Top", "ComboBox5"},
                                   {"Label7", "Right", "ComboBox6"},
                                   {"Label8", "Bottom", "ComboBox7"},
                                   {"Label9", "Left", "ComboBox8"}};
    QLabel** edgeLabels[] = {&Label6, &Label7, &Label8, &Label9};
    QComboBox** edgeBoxes[] = {&ComboBox5, &ComboBox6, &ComboBox7, &ComboBox8};
    for (int i = 0; i < 4; ++i) {
        const int y = 194 + 22 * i;
        *edgeLabels[i] = label(g, edgeNames[i][0], edgeNames[i][1], 8, y + 2, 80);
        *edgeBoxes[i] = pickList(g, edgeNames[i][2], 90, y);
    }
    LabeledEdit16 = labeledEdit(g, "LabeledEdit16", "Doors Count", 236, 216, 40);
    LabeledEdit16->setText("-1");
    auto* doors = new TUpDown(g, "UpDown6", LabeledEdit16, -1, 4);
    doors->PlaceBesideAssociate();
    doors->SetPosition(-1);
    RadioButton5 = check<QRadioButton>(g, "RadioButton5", "Only non group members", {8, 285, 180, 18});
    RadioButton6 = check<QRadioButton>(g, "RadioButton6", "Only group members", {190, 285, 152, 18});
    RadioButton7 = check<QRadioButton>(g, "RadioButton7", "Both", {8, 305, 80, 18});
    RadioButton5->setChecked(true);
    GroupRadioButtons({RadioButton5, RadioButton6, RadioButton7});
}

void TFram6::buildGroupFilter(QWidget* g)
{
    LabeledEdit15 = labeledEdit(g, "LabeledEdit15", "First letters name search", 8, 38, 200, false);
    LabeledEdit18 = labeledEdit(g, "LabeledEdit18", "Tiles count", 8, 84, 50, false);
    LabeledEdit18->setText("-1");
    auto* count = new TUpDown(g, "UpDown7", LabeledEdit18, -1, 36);
    count->PlaceBesideAssociate();
    count->SetPosition(-1);
    LabeledEdit17 = labeledEdit(g, "LabeledEdit17", "First letters tile member", 8, 130, 200, false);
    Button6 = button(g, "Button6", "Apply", "Apply group filter", {8, 166, 80, 24});
    Button7 = button(g, "Button7", "Clear", "Clear group filter", {96, 166, 80, 24});
}

void TFram6::connectHandlers()
{
    auto onClick = [this](QAbstractButton* b, void (TFram6::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, Guard([this, handler] { (this->*handler)(); }));
    };
    onClick(Button1, &TFram6::Button1Click);
    onClick(Button9, &TFram6::Button9Click);
    onClick(Button2, &TFram6::Button2Click);
    onClick(Button5, &TFram6::Button5Click);
    onClick(Button8, &TFram6::Button8Click);
    onClick(RadioButton3, &TFram6::RadioButton3Click);
    onClick(RadioButton4, &TFram6::RadioButton4Click);
    onClick(RadioButton1, &TFram6::RadioButton1Click);
    onClick(RadioButton2, &TFram6::RadioButton2Click);
    for (QPushButton* b : {Button3, Button6}) onClick(b, &TFram6::Button3Click);
    for (QPushButton* b : {Button4, Button7}) onClick(b, &TFram6::Button4Click);
    // The filter's switches and the two options follow their box however it changes:
    // Reset unchecks them and counts on their handlers.
    auto onToggle = [this](QCheckBox* c, void (TFram6::*handler)()) {
        connect(c, &QCheckBox::toggled, this, Guard([this, handler] { (this->*handler)(); }));
    };
    onToggle(CheckBox1, &TFram6::CheckBox1Click);
    onToggle(CheckBox2, &TFram6::CheckBox2Click);
    onToggle(CheckBox3, &TFram6::CheckBox3Click);
    onToggle(CheckBox4, &TFram6::CheckBox4Click);
    onToggle(CheckBox5, &TFram6::CheckBox5Click);
    onToggle(CheckBox6, &TFram6::CheckBox6Click);

    for (TListView* v : {ListView2, ListView3}) {
        connect(v, &QTreeWidget::itemSelectionChanged, this, Guard([this, v] { ListView2SelectItem(v); }));
        v->OnColumnClick = [this, v](int column) { Guard([&] { ListView3ColumnClick(v, column); })(); };
        connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& p) {
            Guard([&] {
                if (PopupMenu1Popup(v)) PopupMenu1->popup(v->viewport()->mapToGlobal(p));
            })();
        });
    }
    connect(ImportThisTile1, &QAction::triggered, this, Guard([this] { Button5Click(); }));
    connect(ImportAllDisplayedTiles1, &QAction::triggered, this, Guard([this] { Button8Click(); }));
    connect(ImportThisGroup1, &QAction::triggered, this, Guard([this] { Button5Click(); }));
}

void TFram6::enableSource(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, RadioButton3, RadioButton4, CheckBox1,
             Button8, Button5, Button2, GroupBox2})
        w->setEnabled(on);
}

void TFram6::CheckBox1Click()
{
    AutoImportTerrainCrosser = CheckBox1->isChecked();
}

void TFram6::CheckBox6Click()
{
    Game().AutoConvertMdl = CheckBox6->isChecked();
}
