// The Tiles tab's display filter: its box's handlers, and the filling of a tile list with
// the tiles that pass, for this tab and for the tabs that borrow the filter.
#include <QCheckBox>
#include <QRadioButton>

#include "model/Tileset.h"
#include "platform/Text.h"
#include "ui/App.h"
#include "ui/frm4.h"

namespace {

const char* const CornerCaptions[] = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};
const char* const EdgeCaptions[] = {"Top", "Right", "Bottom", "Left"};
const char* const ModeCaptions[] = {"THIS", "AND", "AND", "BUT NOT"};

void setCaptions(const std::array<QLabel*, 4>& labels, const char* const (&captions)[4])
{
    for (std::size_t i = 0; i < 4; ++i) labels[i]->setText(captions[i]);
}

// "-1" and any text that is not a number let every tile through.
int numberOrAny(const QLineEdit* e)
{
    int v = -1;
    return TryStrToInt(FromQt(e->text()), v) ? v : -1;
}

// Every tile view refilled with all the tiles; with none, this tab's list emptied.
void showAllTiles(TFram4& f)
{
    if (CTile* first = TS().TileList.Head()) {
        first->FillMainLists();
        return;
    }
    f.ListView1->clear();
    f.Edit1->setText("0");
}

} // namespace

TileFilter ReadTileFilter(const TileFilterControls& c)
{
    TileFilter f;
    f.Prefix = FromQt(c.Prefix->text());
    f.CornerMode = c.CornerMode->isChecked();
    f.NoCrosser = c.NoCrosser->isChecked();
    f.EdgeMode = c.EdgeMode->isChecked();
    f.Only = c.Only->isChecked();
    for (std::size_t i = 0; i < 4; ++i) {
        f.Corners[i] = FromQt(c.Corners[i]->currentText());
        f.Heights[i] = numberOrAny(c.Heights[i]);
        f.Edges[i] = FromQt(c.Edges[i]->currentText());
    }
    f.Doors = numberOrAny(c.Doors);
    f.Groups = c.NonMembers->isChecked() ? GroupMembershipTest::NonMembersOnly
               : c.Members->isChecked()  ? GroupMembershipTest::MembersOnly
                                         : GroupMembershipTest::Both;
    return f;
}

int FillFilteredTileRows(TListView* view, const CPtrList<CTile>& tiles, const TileFilter& filter,
                         const CPtrList<CGroup>& groups)
{
    const GroupMembership members(groups, tiles.Count());
    ListFill fill(view);
    int n = 0, shown = 0;
    for (const CTile* t : tiles) {
        if (TilePassesFilter(filter, *t, n, members)) {
            fill.Add(n, {t->Model});
            ++shown;
        }
        ++n;
    }
    return shown;
}

TileFilterControls TFram4::FilterControls() const
{
    return {LabeledEdit11, CheckBox5, {ComboBox9, ComboBox10, ComboBox11, ComboBox12}, {Edit9, Edit10, Edit11, Edit12},
            CheckBox11, CheckBox10, CheckBox12, {ComboBox13, ComboBox14, ComboBox15, ComboBox16}, LabeledEdit6,
            RadioButton1, RadioButton2};
}

int TFram4::FilterTileList(TListView* list, QLineEdit* count)
{
    if (list == ListView1) {
        FilterActive = true;
        ClearTileFields();
    }
    const int shown = FillFilteredTileRows(list, TS().TileList, ReadTileFilter(FilterControls()), TS().GroupList);
    if (count) count->setText(QString::number(shown));
    return shown;
}

void TFram4::Button5Click()
{
    FilterTileList(ListView1, Edit1);
}

void TFram4::LabeledEdit11Change()
{
    FilterTileList(ListView1, Edit1);
}

void TFram4::CheckBox4Click()
{
    FilterActive = CheckBox4->isChecked();
    for (QWidget* w : GroupBox4->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(FilterActive);
    if (FilterActive) {
        // The crosser switches keep the boxes they turn off turned off.
        if (CheckBox11->isChecked()) CheckBox11Click();
        else if (CheckBox12->isChecked()) CheckBox12Click();
        return;
    }
    showAllTiles(*this);
}

void TFram4::CheckBox5Click()
{
    const bool all = CheckBox5->isChecked();
    setCaptions({Label3, Label4, Label5, Label6}, all ? ModeCaptions : CornerCaptions);
}

void TFram4::CheckBox10Click()
{
    if (CheckBox10->isChecked()) {
        CheckBox12->show();
        setCaptions({Label7, Label8, Label9, Label10}, ModeCaptions);
        return;
    }
    CheckBox12->hide();
    CheckBox12->setChecked(false);
    setCaptions({Label7, Label8, Label9, Label10}, EdgeCaptions);
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox14, ComboBox15, ComboBox16, Label8, Label9, Label10})
        w->setEnabled(true);
}

void TFram4::CheckBox11Click()
{
    const bool none = CheckBox11->isChecked();
    if (none) {
        CheckBox10->setChecked(false);
        setCaptions({Label7, Label8, Label9, Label10}, EdgeCaptions);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox10, Label7, Label8, Label9, Label10, ComboBox13,
                                                      ComboBox14, ComboBox15, ComboBox16})
        w->setEnabled(!none);
}

void TFram4::CheckBox12Click()
{
    const bool only = CheckBox12->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox14, ComboBox15, ComboBox16, Label8, Label9, Label10})
        w->setEnabled(!only);
}

void TFram4::Button7Click()
{
    // As any change of the search text, emptying it runs the filter once.
    LabeledEdit11->clear();
    for (QComboBox* c : {ComboBox9, ComboBox10, ComboBox11, ComboBox12, ComboBox13, ComboBox14, ComboBox15, ComboBox16})
        c->setEditText({});
    for (QCheckBox* c : {CheckBox5, CheckBox10, CheckBox11, CheckBox12}) c->setChecked(false);
    setCaptions({Label3, Label4, Label5, Label6}, CornerCaptions);
    setCaptions({Label7, Label8, Label9, Label10}, EdgeCaptions);
    for (QWidget* w : std::initializer_list<QWidget*>{Label7, Label8, Label9, Label10, CheckBox10, ComboBox13,
                                                      ComboBox14, ComboBox15, ComboBox16})
        w->setEnabled(true);
    for (QLineEdit* e : {Edit9, Edit10, Edit11, Edit12, static_cast<QLineEdit*>(LabeledEdit6)}) e->setText("-1");
    showAllTiles(*this);
}

void TFram4::connectFilterHandlers()
{
    // Check boxes act when code sets them too, as the clearing relies on.
    connect(CheckBox4, &QCheckBox::toggled, this, Guard([this] { CheckBox4Click(); }));
    connect(CheckBox5, &QCheckBox::toggled, this, Guard([this] { CheckBox5Click(); }));
    connect(CheckBox10, &QCheckBox::toggled, this, Guard([this] { CheckBox10Click(); }));
    connect(CheckBox11, &QCheckBox::toggled, this, Guard([this] { CheckBox11Click(); }));
    connect(CheckBox12, &QCheckBox::toggled, this, Guard([this] { CheckBox12Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));
    connect(Button7, &QPushButton::clicked, this, Guard([this] { Button7Click(); }));
    connect(LabeledEdit11, &QLineEdit::textChanged, this, Guard([this] { LabeledEdit11Change(); }));
}
