#include "ui/frm2.h"

#include <QPainter>
#include <QPixmap>

#include "gamedata/GameData.h"
#include "model/Globfun.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/App.h"

namespace {

// The controls of each side, in the order buildSide makes them.
const char* const TerrainControls[] = {"ListBox1", "Label1", "Edit3", "LabeledEdit1", "LabeledEdit2", "Edit1",
                                       "LabeledEdit7", "Button1", "Button2", "Button3"};
const char* const CrosserControls[] = {"ListBox2", "Label2", "Edit4", "LabeledEdit3", "LabeledEdit4", "Edit2",
                                       "LabeledEdit8", "Button4", "Button5", "Button6"};
const char* const TerrainHints[] = {"Add new terrain", "Apply change to a Terrain", "Delete a Terrain"};
const char* const CrosserHints[] = {"Add new crosser", "Apply change to a Crosser", "Delete a Crosser"};

QLabel* heading(QWidget* parent, const char* name, const char* caption, int x)
{
    auto* label = MakeNamed<QLabel>(parent, name, caption);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(x, 4, 272, 18);
    return label;
}

// Four tiles meeting at their corners, with a road crossing them: what terrains and
// crossers are to a tile.
QPixmap tilesPicture(int w, int h)
{
    QPixmap pm(w, h);
    QPainter p(&pm);
    const QColor corners[] = {QColor(96, 150, 70), QColor(70, 110, 170), QColor(200, 180, 120), QColor(120, 120, 110)};
    for (int i = 0; i < 4; ++i) p.fillRect(i % 2 * w / 2, i / 2 * h / 2, w / 2, h / 2, corners[i]);
    p.setPen(QPen(QColor(150, 110, 60), h / 10));
    p.drawLine(0, h / 2, w, h / 2);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLine(w / 2, 0, w / 2, h);
    return pm;
}

} // namespace

TFram2::TFram2(QWidget* parent)
    : QWidget(parent), TerrainList(TS().TerrainList), CrosserList(TS().CrosserList),
      ReadTerrainsIntoMain(TS().ReadTerrainsIntoMain), ReadCrossersIntoMain(TS().ReadCrossersIntoMain)
{
    setObjectName("Fram21");

    StaticText1 = heading(this, "StaticText1", "Terrain", 4);
    StaticText2 = heading(this, "StaticText2", "Crosser", 282);
    Panel1 = MakeNamed<QWidget>(this, "Panel1");
    Panel1->setGeometry(4, 24, 272, 404);
    Panel2 = MakeNamed<QWidget>(this, "Panel2");
    Panel2->setGeometry(282, 24, 272, 404);

    QPushButton* buttons[3];
    terrain_ = buildSide(Panel1, TerrainControls, TerrainHints, buttons);
    ListBox1 = terrain_.list, Label1 = terrain_.countLabel, Edit3 = terrain_.count;
    LabeledEdit1 = terrain_.name, LabeledEdit2 = terrain_.strref, Edit1 = terrain_.strrefText;
    LabeledEdit7 = terrain_.unlocalized;
    Button1 = buttons[0], Button2 = buttons[1], Button3 = buttons[2];
    crosser_ = buildSide(Panel2, CrosserControls, CrosserHints, buttons);
    ListBox2 = crosser_.list, Label2 = crosser_.countLabel, Edit4 = crosser_.count;
    LabeledEdit3 = crosser_.name, LabeledEdit4 = crosser_.strref, Edit2 = crosser_.strrefText;
    LabeledEdit8 = crosser_.unlocalized;
    Button4 = buttons[0], Button5 = buttons[1], Button6 = buttons[2];

    // A click on the selected row shows its entry again, as a keyboard move shows the next.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, Guard([this] { ListBox1Click(); }));
    connect(ListBox1, &QListWidget::itemClicked, this, Guard([this] { ListBox1Click(); }));
    connect(ListBox2, &QListWidget::itemSelectionChanged, this, Guard([this] { ListBox2Click(); }));
    connect(ListBox2, &QListWidget::itemClicked, this, Guard([this] { ListBox2Click(); }));
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guard([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, Guard([this] { Button6Click(); }));
    // The StrRef text follows every change of the edit, by code too.
    connect(LabeledEdit2, &QLineEdit::textChanged, this, Guard([this] { LabeledEdit2Change(); }));
    connect(LabeledEdit4, &QLineEdit::textChanged, this, Guard([this] { LabeledEdit4Change(); }));

    GroupBox1 = MakeNamed<QGroupBox>(this, "GroupBox1", "Mass Terrain/Crosser renamer");
    GroupBox1->setGeometry(562, 24, 282, 250);
    RadioButton1 = MakeNamed<QRadioButton>(GroupBox1, "RadioButton1", "Terrain");
    RadioButton1->setGeometry(12, 24, 90, 20);
    RadioButton1->setChecked(true);
    RadioButton2 = MakeNamed<QRadioButton>(GroupBox1, "RadioButton2", "Crosser");
    RadioButton2->setGeometry(110, 24, 90, 20);
    Label4 = MakeNamed<QLabel>(GroupBox1, "Label4", "Change");
    Label4->setGeometry(12, 54, 258, 16);
    ComboBox1 = MakeNamed<QComboBox>(GroupBox1, "ComboBox1");
    ComboBox1->setGeometry(12, 72, 258, 22);
    Label5 = MakeNamed<QLabel>(GroupBox1, "Label5", "To");
    Label5->setGeometry(12, 102, 258, 16);
    ComboBox2 = MakeNamed<QComboBox>(GroupBox1, "ComboBox2");
    ComboBox2->setGeometry(12, 120, 258, 22);
    Button7 = MakeNamed<QPushButton>(GroupBox1, "Button7", "Rename");
    Button7->setToolTip("Rename all occurence of Terrain/Crosser");
    Button7->setGeometry(12, 156, 100, 28);
    Label3 = MakeNamed<QLabel>(GroupBox1, "Label3");
    Label3->setGeometry(12, 194, 258, 40);
    Label3->setWordWrap(true);
    Image1 = MakeNamed<QLabel>(this, "Image1");
    Image1->setGeometry(562, 282, 282, 146);
    Image1->setPixmap(tilesPicture(282, 146));

    for (QComboBox* c : {ComboBox1, ComboBox2}) {
        MakeEditablePickList(c);
        OnFocusEnter(c, Guard([this, c] { ComboBox1Enter(c); }));
    }
    connect(RadioButton1, &QRadioButton::clicked, this, Guard([this] { RadioButton1Click(); }));
    connect(RadioButton2, &QRadioButton::clicked, this, Guard([this] { RadioButton2Click(); }));
    connect(Button7, &QPushButton::clicked, this, Guard([this] { Button7Click(); }));
}

TFram2::Side TFram2::buildSide(QWidget* panel, const char* const names[], const char* const hints[],
                               QPushButton* buttons[3])
{
    Side s;
    s.list = MakeNamed<QListWidget>(panel, names[0]);
    s.list->setGeometry(4, 4, 264, 200);
    s.list->setCursor(Qt::PointingHandCursor);
    s.countLabel = MakeNamed<QLabel>(panel, names[1], "Count :");
    s.countLabel->setGeometry(4, 212, 50, 20);
    s.count = MakeNamed<QLineEdit>(panel, names[2]);
    s.count->setReadOnly(true);
    s.count->setGeometry(56, 210, 50, 22);
    s.name = new TLabeledEdit(panel, names[3], "Name");
    s.name->Place(4, 254, 264);
    s.strref = new TLabeledEdit(panel, names[4], "StrRef");
    s.strref->Place(4, 296, 60);
    LabeledEdit2KeyPress(s.strref);
    s.strrefText = MakeNamed<QLineEdit>(panel, names[5]);
    s.strrefText->setReadOnly(true);
    s.strrefText->setGeometry(70, 296, 198, 22);
    s.unlocalized = new TLabeledEdit(panel, names[6], "Unlocalized Name");
    s.unlocalized->Place(4, 338, 264);
    s.shown.Watch({s.name, s.strref, s.unlocalized});
    const char* captions[] = {"Add", "Apply", "Delete"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = MakeNamed<QPushButton>(panel, names[7 + i], captions[i]);
        buttons[i]->setToolTip(hints[i]);
        buttons[i]->setGeometry(4 + 90 * i, 372, 84, 28);
    }
    return s;
}

void TFram2::LabeledEdit2KeyPress(QLineEdit* edit)
{
    InstallKeyFilter(edit, "0123456789");
}

int TFram2::selectedRow(const Side& side)
{
    const QList<QListWidgetItem*> rows = side.list->selectedItems();
    return rows.isEmpty() ? -1 : side.list->row(rows.front());
}

void TFram2::showEntry(Side& side, const CNamedType* entry)
{
    if (!entry) return;
    side.name->setText(ToQt(entry->Name));
    side.strref->setText(ToQt(entry->StrRef));
    side.unlocalized->setText(ToQt(entry->UnlocalizedName));
    side.shown.Take();
    side.strrefText->clear();
    showStrRefText(side);
}

void TFram2::showStrRefText(const Side& side)
{
    const std::string text = FromQt(side.strref->text());
    int strref = 0;
    // A file or a paste may hold any text: only a number has a text in the talk table.
    if (!text.empty() && text != "-" && TryStrToInt(text, strref))
        side.strrefText->setText(ToQt(FindStrRefText(strref)));
    else
        side.strrefText->setText("Bad strref");
}

void TFram2::ListBox1Click()
{
    showEntry(terrain_, TerrainList.At(selectedRow(terrain_)));
}

void TFram2::ListBox2Click()
{
    showEntry(crosser_, CrosserList.At(selectedRow(crosser_)));
}

void TFram2::LabeledEdit2Change()
{
    showStrRefText(terrain_);
}

void TFram2::LabeledEdit4Change()
{
    showStrRefText(crosser_);
}

template <class T>
void TFram2::add(const Side& side, CPtrList<T>& list)
{
    const std::string name = FromQt(side.name->text());
    if (name.empty()) return;
    // Apply takes the unlocalized name; Add leaves it empty.
    auto* entry = new T;
    entry->SetName(name);
    entry->SetStrRef(FromQt(side.strref->text()));
    list.Append(entry);
    entry->FillMainLists();
}

template <class T>
void TFram2::apply(const Side& side, CPtrList<T>& list, bool terrains)
{
    const std::string name = FromQt(side.name->text());
    const int index = selectedRow(side);
    T* entry = list.At(index);
    if (name.empty() || !entry) return;
    // Read the edits first: a rename refills the views, which empties them.
    const std::string strref = FromQt(side.strref->text());
    const std::string unlocalized = FromQt(side.unlocalized->text());
    if (name != entry->Name) {
        const char* question = terrains
                                   ? "Do you want to rename all references to\n this terrain in Rules and Tiles list ?"
                                   : "Do you want to rename all references to\n this crosser in Tiles list ?";
        if (AppDialogs().Message(MsgKind::Warning, question, MsgButtons::YesNo) == MsgResult::Yes) {
            const int n =
                terrains ? RenameTerrainEverywhere(entry->Name, name) : RenameCrosserEverywhere(entry->Name, name);
            AppDialogs().Information(IntToStr(n) + " changements done.");
        } else {
            entry->SetName(name);
        }
    }
    entry->SetStrRef(strref);
    entry->SetUnlocalizedName(unlocalized);
    entry->FillMainLists();
}

template <class T>
void TFram2::remove(Side& side, CPtrList<T>& list, bool terrains)
{
    if (list.DeleteAt(selectedRow(side)) < 0) return;
    if (!list.Empty()) {
        list.Head()->FillMainLists();
        return;
    }
    // No entry is left to refill from: every view of the kind is emptied, the pick-lists
    // of the other tabs included.
    fillSide(side, {});
    if (terrains)
        ClearTerrainCombos();
    else
        ClearCrosserCombos();
}

void TFram2::Button1Click()
{
    add(terrain_, TerrainList);
}

void TFram2::Button4Click()
{
    add(crosser_, CrosserList);
}

void TFram2::Button2Click()
{
    apply(terrain_, TerrainList, true);
}

void TFram2::Button5Click()
{
    apply(crosser_, CrosserList, false);
}

void TFram2::Button3Click()
{
    remove(terrain_, TerrainList, true);
}

void TFram2::Button6Click()
{
    remove(crosser_, CrosserList, false);
}

void TFram2::fillSide(Side& side, const StringList& names)
{
    side.list->clear();
    for (QLineEdit* e : {side.name, side.strref, side.unlocalized}) e->clear();
    side.shown.Take();
    side.count->setText(ToQt(IntToStr(names.Count())));
    QStringList items;
    for (const std::string& n : names) items << ToQt(n);
    side.list->addItems(items);
}

void TFram2::ShowTerrains(const StringList& names)
{
    fillSide(terrain_, names);
}

void TFram2::ShowCrossers(const StringList& names)
{
    fillSide(crosser_, names);
}

namespace {
StringList listItems(const QListWidget* list)
{
    StringList names;
    for (int i = 0; i < list->count(); ++i) names.Add(FromQt(list->item(i)->text()));
    return names;
}
}

StringList TFram2::TerrainNames() const
{
    return listItems(ListBox1);
}

StringList TFram2::CrosserNames() const
{
    return listItems(ListBox2);
}

std::optional<UnstoredValues> TFram2::Unstored() const
{
    for (const Side* side : {&terrain_, &crosser_}) {
        if (!side->shown.Differs()) continue;
        const bool terrain = side == &terrain_;
        const std::string what = terrain ? "terrain" : "crosser";
        return ::Unstored(side->name, what + " editor of the \"Terrain / Crosser\" tab",
                          selectedRow(*side) < 0 ? "\"Add\"" : "\"Apply\"");
    }
    return std::nullopt;
}

void TFram2::RadioButton1Click()
{
    RadioButton1->setChecked(true);
    RadioButton2->setChecked(false);
}

void TFram2::RadioButton2Click()
{
    RadioButton2->setChecked(true);
    RadioButton1->setChecked(false);
}

void TFram2::ComboBox1Enter(QComboBox* sender)
{
    const bool terrains = RadioButton1->isChecked();
    if (sender == ComboBox2) {
        AssignItems(ComboBox2, terrains ? TerrainNames() : CrosserNames());
        return;
    }
    // The names the tiles use, each once: every corner (an empty one too), or every edge
    // that names a crosser.
    StringList names;
    auto offer = [&names](const std::string& name) {
        if (names.IndexOf(name) < 0) names.Add(name);
    };
    for (const CTile* tile : TS().TileList) {
        if (terrains) {
            for (const std::string* c : {&tile->TopLeft, &tile->TopRight, &tile->BottomLeft, &tile->BottomRight})
                offer(*c);
        } else {
            for (const std::string* e : {&tile->Top, &tile->Bottom, &tile->Left, &tile->Right})
                if (!e->empty()) offer(*e);
        }
    }
    AssignItems(ComboBox1, names);
}

void TFram2::Button7Click()
{
    const std::string from = FromQt(ComboBox1->currentText());
    const std::string to = FromQt(ComboBox2->currentText());
    if (from.empty() || to.empty()) return;
    const int n = RadioButton1->isChecked() ? RenameTerrainEverywhere(from, to) : RenameCrosserEverywhere(from, to);
    Label3->setText(ToQt(Format("%d occurences found and changed.", n)));
}
