// The Import tab's display filters: which source tiles and groups its lists show.
#include <initializer_list>

#include "model/Globfun.h"
#include "platform/Text.h"
#include "ui/TileFilterView.h"
#include "ui/frm6.h"

namespace {

void setTexts(std::initializer_list<QLabel*> labels, std::initializer_list<const char*> texts)
{
    auto t = texts.begin();
    for (QLabel* l : labels) l->setText(*t++);
}

void enableAll(std::initializer_list<QWidget*> widgets, bool on)
{
    for (QWidget* w : widgets) w->setEnabled(on);
}

bool blank(const std::string& s)
{
    return s.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

// The Tiles tab's filter over the source: the same tests, membership among the source's
// groups. It fills only this tab's list and count.
void TFram6::ApplyTileFilter()
{
    if (ImportTiles.Empty()) return;
    const TileFilterControls controls{LabeledEdit4, CheckBox2, {ComboBox1, ComboBox2, ComboBox3, ComboBox4},
        {Edit2, Edit4, Edit5, Edit6}, CheckBox3, CheckBox4, CheckBox5, {ComboBox5, ComboBox6, ComboBox7, ComboBox8},
        LabeledEdit16, RadioButton5, RadioButton6};
    ShownTileCount = FillFilteredTileRows(ListView2, ImportTiles, ReadTileFilter(controls), ImportGroups);
    Edit3->setText(QString::number(ShownTileCount));
}

void TFram6::ApplyGroupFilter()
{
    if (ImportGroups.Empty()) return;
    const std::string name = FromQt(LabeledEdit15->text());
    const std::string member = FromQt(LabeledEdit17->text());
    const std::string countText = FromQt(LabeledEdit18->text());
    // An empty count tests nothing; one that is no number leaves the list as it is.
    int count = -1;
    if (!blank(countText) && !TryStrToInt(countText, count)) return;
    int shown = 0;
    {
        ListFill fill(ListView3);
        int n = 0;
        for (const CGroup* g : ImportGroups) {
            const int i = n++;
            if (!name.empty() && !StartsWithNoCase(g->Name, name)) continue;
            if (count > 0 && int64_t(g->Rows) * g->Columns != count) continue;
            if (!member.empty() && !ImportGroupHasModelPrefix(g->Cells, member)) continue;
            fill.Add(i, {g->Name});
            ++shown;
        }
    }
    ShownGroupCount = shown;
    Edit3->setText(QString::number(shown));
}

void TFram6::Button3Click()
{
    if (RadioButton3->isChecked())
        ApplyTileFilter();
    else
        ApplyGroupFilter();
}

void TFram6::Button4Click()
{
    if (!RadioButton3->isChecked()) {
        LabeledEdit17->clear();
        LabeledEdit15->clear();
        LabeledEdit18->setText("-1");
        ShownGroupCount = -1;
        if (!ImportGroups.Empty()) ImportGroups.Head()->FillImportLists();
        return;
    }
    for (QWidget* w : GroupBox3->findChildren<QWidget*>()) w->setEnabled(true);
    // The names typed or picked go; the source's names stay on offer.
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6, ComboBox7, ComboBox8})
        c->setEditText({});
    for (QCheckBox* c : {CheckBox2, CheckBox3, CheckBox4, CheckBox5}) c->setChecked(false);
    CheckBox5->hide();
    setTexts({Label2, Label3, Label4, Label5}, {"Top Left", "Top Right", "Bottom Left", "Bottom Right"});
    setTexts({Label6, Label7, Label8, Label9}, {"Top", "Right", "Bottom", "Left"});
    for (QLineEdit* e : {Edit2, Edit4, Edit5, Edit6}) e->setText("-1");
    LabeledEdit4->clear();
    LabeledEdit16->setText("-1");
    ShownTileCount = -1;
    if (!ImportTiles.Empty()) ImportTiles.Head()->FillImportLists();
}

void TFram6::CheckBox2Click()
{
    if (CheckBox2->isChecked())
        setTexts({Label2, Label3, Label4, Label5}, {"THIS", "AND", "AND", "BUT NOT"});
    else
        setTexts({Label2, Label3, Label4, Label5}, {"TopLeft", "TopRight", "BottomLeft", "BottomRight"});
}

void TFram6::CheckBox3Click()
{
    const bool noCrosser = CheckBox3->isChecked();
    if (noCrosser) {
        CheckBox4->setChecked(false);
        setTexts({Label6, Label7, Label8, Label9}, {"Top", "Right", "Bottom", "Left"});
    }
    enableAll({CheckBox4, Label6, Label7, Label8, Label9, ComboBox5, ComboBox6, ComboBox7, ComboBox8}, !noCrosser);
}

void TFram6::CheckBox4Click()
{
    if (CheckBox4->isChecked()) {
        CheckBox5->show();
        setTexts({Label6, Label7, Label8, Label9}, {"THIS", "AND", "AND", "BUT NOT"});
    } else {
        CheckBox5->hide();
        CheckBox5->setChecked(false);
        setTexts({Label6, Label7, Label8, Label9}, {"Top", "Right", "Bottom", "Left"});
    }
}

void TFram6::CheckBox5Click()
{
    enableAll({ComboBox6, ComboBox7, ComboBox8, Label7, Label8, Label9}, !CheckBox5->isChecked());
}
