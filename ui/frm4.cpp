// The Tiles tab's controls: the list side, the editor's two pages and the filter box, laid
// out as the form has them, and the handlers wired to them.
#include "ui/frm4.h"

#include <QCursor>
#include <QLineEdit>

#include "ui/App.h"

namespace {

const std::string Digits = "0123456789";

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect r, const char* hint = nullptr)
{
    auto* b = MakeNamed<QPushButton>(parent, name, caption);
    b->setGeometry(r);
    if (hint) b->setToolTip(hint);
    return b;
}

QLabel* label(QWidget* parent, const char* caption, QRect r, const char* name = nullptr)
{
    auto* l = new QLabel(caption, parent);
    if (name) l->setObjectName(name);
    l->setGeometry(r);
    return l;
}

QCheckBox* check(QWidget* parent, const char* name, const char* caption, QRect r)
{
    auto* c = MakeNamed<QCheckBox>(parent, name, caption);
    c->setGeometry(r);
    return c;
}

// An editable pick-list with its caption above it.
QComboBox* pickList(QWidget* parent, const char* name, const char* caption, int x, int y, int w)
{
    auto* c = MakeNamed<QComboBox>(parent, name);
    MakeEditablePickList(c);
    c->setGeometry(x, y, w, 22);
    if (caption) label(parent, caption, QRect(x, y - 16, w, 16));
    return c;
}

// A read-only number edit with its up-down on its right.
QLineEdit* numberEdit(QWidget* parent, const char* name, const char* text, QRect r, TUpDown*& upDown,
                      const char* upDownName, int min, int max, int increment = 1)
{
    auto* e = MakeNamed<QLineEdit>(parent, name, text);
    e->setReadOnly(true);
    e->setGeometry(r);
    upDown = new TUpDown(parent, upDownName, e, min, max, increment);
    upDown->PlaceBesideAssociate();
    return e;
}

} // namespace

TFram4::TFram4(QWidget* parent)
    : QWidget(parent), ComboBox17(MakeNamed<QComboBox>(nullptr, "ComboBox17")), MiniMapList(ComboBox17)
{
    setObjectName("Fram41");
    buildListSide();
    PageControl1 = MakeNamed<QTabWidget>(this, "PageControl1");
    PageControl1->setGeometry(196, 4, 430, 390);
    GeneralPage = MakeNamed<QWidget>(nullptr, "GeneralPage");
    PropertiesPage = MakeNamed<QWidget>(nullptr, "PropertiesPage");
    PageControl1->addTab(GeneralPage, "General");
    PageControl1->addTab(PropertiesPage, "Properties");
    buildGeneralPage();
    buildPropertiesPage();
    setUpPreviews();
    Button2 = button(this, "Button2", "Add/Copy", QRect(196, 400, 100, 28), "Add/Copy a new tile");
    Button1 = button(this, "Button1", "Clear Infos", QRect(300, 400, 100, 28), "Clear all edit box for new tile");
    Button4 = button(this, "Button4", "Save Change", QRect(404, 400, 100, 28), "Save change to tile");
    Button4->setEnabled(false);
    buildFilterBox();
    connectHandlers();
    connectDeletions();
    tileShown_.Watch({LabeledEdit1, ComboBox1, ComboBox2, ComboBox3, ComboBox4, Edit2, Edit3, Edit4, Edit5, ComboBox5,
                      ComboBox6, ComboBox7, ComboBox8, ComboBox17, ComboBox18, Edit6, LabeledEdit4, Edit7,
                      LabeledEdit5, Edit8, CheckBox6, CheckBox7, CheckBox8, CheckBox9, CheckBox1, CheckBox2,
                      CheckBox3});
    doorShown_.Watch({LabeledEdit10, Edit13, Edit14, Edit15, Edit16});
}

void TFram4::buildListSide()
{
    CountLabel = label(this, "Count :", QRect(8, 6, 44, 20), "CountLabel");
    Edit1 = MakeNamed<QLineEdit>(this, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setGeometry(54, 4, 50, 22);

    ListView1 = new TListView(this, "ListView1", {{"Tile #", 45}, {"Model", 110}});
    ListView1->setGeometry(4, 30, 186, 306);
    Label1 = label(this, "No selection", QRect(6, 340, 184, 18), "Label1");

    // One above the other: side by side the two captions do not fit the list's width.
    Button3 = button(this, "Button3", "Del Selected", QRect(4, 360, 186, 25), "Delete selected tile");
    QFont bold = Button3->font();
    bold.setBold(true);
    Button3->setFont(bold);
    Button3->setEnabled(false);
    Button10 = button(this, "Button10", "Delete Displayed", QRect(4, 388, 186, 25), "Delete ALL displayed tiles");
    ProgressBar1 = MakeNamed<QProgressBar>(this, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(4, 418, 186, 16);

    PopupMenu1 = MakeNamed<QMenu>(this, "PopupMenu1");
    auto item = [this](const char* name, const char* caption) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    Copythistile1 = item("Copythistile1", "&Copy this tile");
    Delete1 = item("Delete1", "&Delete Selected");
    DeleteAll1 = item("DeleteAll1", "Delete &All Displayed");
    Seetextures1 = item("Seetextures1", "See textures");
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TFram4::buildGeneralPage()
{
    QWidget* g = GeneralPage;
    LabeledEdit1 = new TLabeledEdit(g, "LabeledEdit1", "Model");
    LabeledEdit1->Place(8, 24, 160);
    LabeledEdit2 = new TLabeledEdit(g, "LabeledEdit2", "WalkMesh");
    LabeledEdit2->Place(180, 24, 70);
    LabeledEdit2->setReadOnly(true);
    LabeledEdit2->setText("msb01");

    // The corners, each a terrain and a height, as they lie on the tile.
    ComboBox1 = pickList(g, "ComboBox1", "TopLeft", 8, 68, 120);
    Edit2 = numberEdit(g, "Edit2", "0", QRect(130, 68, 24, 22), UpDown1, "UpDown1", 0, 1);
    ComboBox2 = pickList(g, "ComboBox2", "TopRight", 220, 68, 120);
    Edit3 = numberEdit(g, "Edit3", "0", QRect(342, 68, 24, 22), UpDown2, "UpDown2", 0, 1);
    ComboBox3 = pickList(g, "ComboBox3", "BottomLeft", 8, 112, 120);
    Edit4 = numberEdit(g, "Edit4", "0", QRect(130, 112, 24, 22), UpDown3, "UpDown3", 0, 1);
    ComboBox4 = pickList(g, "ComboBox4", "BottomRight", 220, 112, 120);
    Edit5 = numberEdit(g, "Edit5", "0", QRect(342, 112, 24, 22), UpDown4, "UpDown4", 0, 1);

    ComboBox5 = pickList(g, "ComboBox5", "Top", 8, 156, 98);
    ComboBox6 = pickList(g, "ComboBox6", "Right", 112, 156, 98);
    ComboBox7 = pickList(g, "ComboBox7", "Bottom", 216, 156, 98);
    ComboBox8 = pickList(g, "ComboBox8", "Left", 320, 156, 98);

    // Made with the frame, as the game's key files fill it before the pages exist, but
    // without a parent until now: so it takes its place in the Tab order here.
    ComboBox17->setParent(g);
    MakeEditablePickList(ComboBox17);
    ComboBox17->setGeometry(8, 202, 150, 22);
    label(g, "MiniMap", QRect(8, 186, 150, 16));
    Image1 = new TImage(g, "Image1");
    Image1->setGeometry(8, 228, 96, 96);
    Image1->SetStretch(true);
    // A note in place of a picture ("Unreadable picture") wraps in the small box.
    Image1->setWordWrap(true);
    Label2 = label(g, "", QRect(8, 328, 150, 18), "Label2");

    ComboBox18 = MakeNamed<QComboBox>(g, "ComboBox18");
    ComboBox18->setGeometry(170, 202, 56, 22);
    label(g, "Path Node", QRect(170, 186, 62, 16));
    for (int i = 0; i < PathNodeCount; ++i) ComboBox18->addItem(QString(QChar(PathNodeLetters[i])));
    ComboBox18->setCurrentIndex(-1);
    label(g, "Orientation", QRect(236, 186, 70, 16));
    Edit6 = numberEdit(g, "Edit6", "0", QRect(236, 202, 36, 22), UpDown5, "UpDown5", 0, 270, 90);
    Image2 = new TImage(g, "Image2");
    Image2->setGeometry(170, 228, 64, 64);
    Image2->SetStretch(true);
    Button11 = button(g, "Button11", "Show List", QRect(170, 298, 80, 24));

    LabeledEdit4 = new TLabeledEdit(g, "LabeledEdit4", "Visibility Node");
    LabeledEdit4->Place(310, 202, 30);
    Edit7 = numberEdit(g, "Edit7", "0", QRect(346, 202, 36, 22), UpDown6, "UpDown6", 0, 270, 90);
    LabeledEdit5 = new TLabeledEdit(g, "LabeledEdit5", "Door Node");
    LabeledEdit5->Place(310, 246, 30);
    Edit8 = numberEdit(g, "Edit8", "0", QRect(346, 246, 36, 22), UpDown7, "UpDown7", 0, 270, 90);
    // LabeledEdit5KeyPress, for both nodes: one character, any but a digit.
    InstallKeyRefuser(LabeledEdit4, Digits, 1);
    InstallKeyRefuser(LabeledEdit5, Digits, 1);
}

void TFram4::buildPropertiesPage()
{
    QWidget* p = PropertiesPage;
    CheckBox6 = check(p, "CheckBox6", "MainLight1", QRect(8, 10, 150, 20));
    CheckBox7 = check(p, "CheckBox7", "MainLight2", QRect(8, 34, 150, 20));
    CheckBox8 = check(p, "CheckBox8", "SourceLight1", QRect(8, 58, 150, 20));
    CheckBox9 = check(p, "CheckBox9", "SourceLight2", QRect(8, 82, 150, 20));
    CheckBox1 = check(p, "CheckBox1", "Animation loop 1", QRect(8, 116, 150, 20));
    CheckBox2 = check(p, "CheckBox2", "Animation loop 2", QRect(8, 140, 150, 20));
    CheckBox3 = check(p, "CheckBox3", "Animation loop 3", QRect(8, 164, 150, 20));

    GroupBox3 = MakeNamed<QGroupBox>(p, "GroupBox3", "Doors");
    GroupBox3->setGeometry(180, 10, 236, 160);
    QWidget* d = GroupBox3;
    LabeledEdit10 = new TLabeledEdit(d, "LabeledEdit10", "Type");
    LabeledEdit10->Place(8, 40, 60);
    Edit13 = new TLabeledEdit(d, "Edit13", "X");
    Edit13->Place(8, 84, 46);
    Edit14 = new TLabeledEdit(d, "Edit14", "Y");
    Edit14->Place(58, 84, 46);
    Edit15 = new TLabeledEdit(d, "Edit15", "Z");
    Edit15->Place(108, 84, 46);
    Edit16 = new TLabeledEdit(d, "Edit16", "Orientation");
    Edit16->Place(158, 84, 70);
    Button8 = button(d, "Button8", "Save", QRect(8, 120, 80, 25));
    Button9 = button(d, "Button9", "Delete", QRect(96, 120, 80, 25));
    // LabeledEdit10KeyPress: a door type is a number; Edit13KeyPress: so are the place and
    // turn of a door, which may be negative and have decimals.
    InstallKeyFilter(LabeledEdit10, Digits);
    for (QLineEdit* e : {Edit13, Edit14, Edit15, Edit16}) InstallKeyFilter(e, Digits + "-.");

    Edit17 = new TLabeledEdit(p, "Edit17", "Current");
    Edit17->Place(180, 196, 36);
    Edit17->setReadOnly(true);
    Edit17->setText("0");
    UpDown8 = new TUpDown(p, "UpDown8", Edit17, 0, 0);
    UpDown8->PlaceBesideAssociate();
    UpDown8->setEnabled(false);
    Edit18 = new TLabeledEdit(p, "Edit18", "Total");
    Edit18->Place(240, 196, 36);
    Edit18->setReadOnly(true);
    Button6 = button(p, "Button6", "New", QRect(290, 194, 80, 25));
    setDoorBoxEnabled(false);
}

void TFram4::buildFilterBox()
{
    CheckBox4 = check(this, "CheckBox4", "Enable", QRect(636, 4, 100, 20));
    CheckBox4->setToolTip("Enable filter");
    GroupBox4 = MakeNamed<QGroupBox>(this, "GroupBox4", "Display Filter");
    GroupBox4->setGeometry(632, 24, 214, 430);
    QWidget* f = GroupBox4;

    LabeledEdit11 = new TLabeledEdit(f, "LabeledEdit11", "First letters search");
    LabeledEdit11->Place(8, 34, 196);
    LabeledEdit11->setToolTip("Enter first letters of model name you looking for");

    TerrainHeading = label(f, "Terrain", QRect(8, 58, 56, 18), "TerrainHeading");
    CheckBox5 = check(f, "CheckBox5", "All instances of :", QRect(64, 56, 146, 20));
    QLabel** terrainLabels[] = {&Label3, &Label4, &Label5, &Label6};
    QComboBox** terrains[] = {&ComboBox9, &ComboBox10, &ComboBox11, &ComboBox12};
    QLineEdit** heights[] = {&Edit9, &Edit10, &Edit11, &Edit12};
    TUpDown** heightUpDowns[] = {&UpDown9, &UpDown10, &UpDown11, &UpDown12};
    const char* terrainCaptions[] = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};
    for (int i = 0; i < 4; ++i) {
        const int y = 78 + 22 * i;
        *terrainLabels[i] = label(f, terrainCaptions[i], QRect(8, y, 80, 22), ("Label" + std::to_string(3 + i)).c_str());
        *terrains[i] = pickList(f, ("ComboBox" + std::to_string(9 + i)).c_str(), nullptr, 88, y, 82);
        *heights[i] = numberEdit(f, ("Edit" + std::to_string(9 + i)).c_str(), "-1", QRect(172, y, 22, 22),
                                 *heightUpDowns[i], ("UpDown" + std::to_string(9 + i)).c_str(), -1, 1);
    }

    CrosserHeading = label(f, "Crosser", QRect(8, 172, 56, 18), "CrosserHeading");
    CheckBox10 = check(f, "CheckBox10", "All instances of", QRect(64, 170, 118, 20));
    CheckBox12 = check(f, "CheckBox12", "only", QRect(8, 190, 54, 20));
    CheckBox12->hide();
    CheckBox11 = check(f, "CheckBox11", "No Crosser", QRect(64, 190, 110, 20));
    QLabel** crosserLabels[] = {&Label7, &Label8, &Label9, &Label10};
    QComboBox** crossers[] = {&ComboBox13, &ComboBox14, &ComboBox15, &ComboBox16};
    const char* crosserCaptions[] = {"Top", "Right", "Bottom", "Left"};
    for (int i = 0; i < 4; ++i) {
        const int y = 212 + 22 * i;
        *crosserLabels[i] = label(f, crosserCaptions[i], QRect(8, y, 80, 22), ("Label" + std::to_string(7 + i)).c_str());
        *crossers[i] = pickList(f, ("ComboBox" + std::to_string(13 + i)).c_str(), nullptr, 88, y, 118);
    }

    LabeledEdit6 = new TLabeledEdit(f, "LabeledEdit6", "Doors");
    LabeledEdit6->Place(8, 318, 36);
    LabeledEdit6->setReadOnly(true);
    LabeledEdit6->setText("-1");
    LabeledEdit6->setToolTip("-1 for disable filter");
    UpDown13 = new TUpDown(f, "UpDown13", LabeledEdit6, -1, 4);
    UpDown13->PlaceBesideAssociate();
    RadioButton1 = MakeNamed<QRadioButton>(f, "RadioButton1", "Only non group members");
    RadioButton1->setGeometry(8, 344, 200, 18);
    RadioButton1->setChecked(true);
    RadioButton2 = MakeNamed<QRadioButton>(f, "RadioButton2", "Only group members");
    RadioButton2->setGeometry(8, 362, 200, 18);
    RadioButton3 = MakeNamed<QRadioButton>(f, "RadioButton3", "Both");
    RadioButton3->setGeometry(8, 380, 200, 18);
    Button5 = button(f, "Button5", "Apply", QRect(8, 402, 90, 24), "Apply filter");
    Button7 = button(f, "Button7", "Clear", QRect(110, 402, 90, 24), "Clear filter options");

    // Off until "Enable" is checked.
    for (QWidget* w : GroupBox4->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(false);
    connectFilterHandlers();
}

void TFram4::connectHandlers()
{
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, Guard([this] { ListView1SelectItem(); }));
    ListView1->OnColumnClick = [this](int column) {
        Guard([this, column] { ListView1ColumnClick(column); })();
    };
    connect(ListView1, &QWidget::customContextMenuRequested, this, Guard([this] {
        PopupMenu1Popup();
        for (QAction* a : PopupMenu1->actions())
            if (a->isVisible()) {
                PopupMenu1->popup(QCursor::pos());
                return;
            }
    }));
    connect(Copythistile1, &QAction::triggered, this, Guard([this] { Button2Click(); }));
    connect(Seetextures1, &QAction::triggered, this, Guard([this] { Seetextures1Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button6, &QPushButton::clicked, this, Guard([this] { Button6Click(); }));
    connect(Button8, &QPushButton::clicked, this, Guard([this] { Button8Click(); }));
    connect(Button9, &QPushButton::clicked, this, Guard([this] { Button9Click(); }));
    connect(Edit17, &QLineEdit::textChanged, this, Guard([this] { Edit17Change(); }));
}
