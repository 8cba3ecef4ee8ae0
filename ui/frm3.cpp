#include "ui/frm3.h"

#include <algorithm>
#include <functional>

#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "ui/App.h"

namespace {

QLabel* captionAbove(QWidget* parent, QWidget* control, const char* caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(control->objectName() + "Label");
    const QRect r = control->geometry();
    label->setGeometry(r.x(), r.y() - 17, std::max(r.width(), label->sizeHint().width()), 16);
    return label;
}

QLabel* heading(QWidget* parent, const char* name, const char* caption)
{
    auto* label = MakeNamed<QLabel>(parent, name, caption);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(0, 0, 560, 18);
    return label;
}

void enableInside(QWidget* box, bool on)
{
    for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(on);
}

std::string text(const QComboBox* c)
{
    return FromQt(c->currentText());
}

std::string text(const QLineEdit* e)
{
    return FromQt(e->text());
}

} // namespace

TFram3::TFram3(QWidget* parent)
    : QWidget(parent), PrimaryRuleList(TS().PrimaryRuleList), SecondaryRuleList(TS().SecondaryRuleList)
{
    setObjectName("Fram31");
    buildViews();
    buildEditor();
    buildFilter();
}

void TFram3::buildViews()
{
    RadioGroup1 = MakeNamed<QGroupBox>(this, "RadioGroup1", "Rules");
    RadioGroup1->setGeometry(4, 2, 200, 46);
    RadioButton1 = MakeNamed<QRadioButton>(RadioGroup1, "RadioButton1", "Primary");
    RadioButton1->setGeometry(10, 20, 80, 20);
    RadioButton1->setChecked(true);
    RadioButton2 = MakeNamed<QRadioButton>(RadioGroup1, "RadioButton2", "Secondary");
    RadioButton2->setGeometry(96, 20, 96, 20);
    // The handlers run whenever a button turns on, by code too.
    connect(RadioButton1, &QRadioButton::toggled, this, Guard([this] {
                if (RadioButton1->isChecked()) RadioButton1Click();
            }));
    connect(RadioButton2, &QRadioButton::toggled, this, Guard([this] {
                if (RadioButton2->isChecked()) RadioButton2Click();
            }));

    auto panel = [this](QWidget*& p, QLabel*& title, TListView*& view, const char* name, const char* titleName,
                        const char* caption, const char* viewName) {
        p = MakeNamed<QWidget>(this, name);
        p->setGeometry(4, 50, 560, 270);
        title = heading(p, titleName, caption);
        view = new TListView(p, viewName,
                             {{"Rules #", 60}, {"Placed", 110}, {"Height", 50}, {"Adjacent", 110}, {"Height", 50},
                              {"Changed", 110}, {"Height", 50}});
        view->setGeometry(0, 20, 560, 250);
        // Grid lines between the cells, as the rule tables have.
        view->setStyleSheet("QTreeView::item { border-right: 1px solid palette(midlight);"
                            " border-bottom: 1px solid palette(midlight); }"
                            "QTreeView::item:selected { background: palette(highlight);"
                            " color: palette(highlighted-text); }");
    };
    panel(Panel1, StaticText2, ListView1, "Panel1", "StaticText2", "PRIMARY RULES", "ListView1");
    panel(Panel2, StaticText1, ListView2, "Panel2", "StaticText1", "SECONDARY RULES", "ListView2");
    Panel2->hide();
    // Guard's wrapper drops the signal's arguments, so the column is captured first.
    for (TListView* view : {ListView1, ListView2})
        view->OnColumnClick = [this, view](int column) { Guard([=, this] { ListView1ColumnClick(view, column); })(); };

    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, Guard([this] { ListView1SelectItem(); }));
    // The secondary view shows a rule on a click, and on keyboard moves as well.
    connect(ListView2, &QTreeWidget::itemClicked, this, Guard([this] { ListView2Click(); }));
    connect(ListView2, &QTreeWidget::itemSelectionChanged, this, Guard([this] { ListView2Click(); }));

    PopupMenu1 = MakeNamed<QMenu>(this, "PopupMenu1");
    Delete1 = PopupMenu1->addAction("&Delete");
    Delete1->setObjectName("Delete1");
    connect(Delete1, &QAction::triggered, this, Guard([this] { Button3Click(); }));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this, Guard([this] {
                PopupMenu1Popup();
                if (Delete1->isVisible()) PopupMenu1->popup(QCursor::pos());
            }));
}

void TFram3::buildEditor()
{
    Label1 = MakeNamed<QLabel>(this, "Label1");
    Label1->setGeometry(4, 324, 200, 18);
    buildNameHeights(this, 0, QPoint(4, 360), QPoint(184, 0), 120);
    for (QLineEdit* e : {Edit1, Edit2, Edit3}) e->setReadOnly(true);

    const char* buttonNames[] = {"Button1", "Button2", "Button3", "Button6"};
    const char* buttonCaptions[] = {"Add", "Save", "Delete", "Clear"};
    const char* hints[] = {"Add a new rule", "Save change on selected rule", "Delete selected rule",
                           "Clear rules edit box"};
    QPushButton** buttons[] = {&Button1, &Button2, &Button3, &Button6};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = *buttons[i] = MakeNamed<QPushButton>(this, buttonNames[i], buttonCaptions[i]);
        b->setToolTip(hints[i]);
        b->setGeometry(4 + 90 * i, 396, 84, 28);
    }
    enableRuleButtons(false);
    shown_.Watch({ComboBox1, ComboBox2, ComboBox3, Edit1, Edit2, Edit3});
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guard([this] { Button3Click(); }));
    connect(Button6, &QPushButton::clicked, this, Guard([this] { Button6Click(); }));
}

// Three names, each with a height edit and its up-down: the editor's (from 0, heights 0 to
// 1) or the filter's (from 3, heights -1 to 1, -1 for any).
void TFram3::buildNameHeights(QWidget* parent, int first, QPoint at, QPoint step, int comboWidth)
{
    const char* names[] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6"};
    const char* editNames[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
    const char* upDownNames[] = {"UpDown1", "UpDown2", "UpDown3", "UpDown4", "UpDown5", "UpDown6"};
    QComboBox** combos[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5, &ComboBox6};
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
    TUpDown** upDowns[] = {&UpDown1, &UpDown2, &UpDown3, &UpDown4, &UpDown5, &UpDown6};
    const char* captions[] = {"Placed", "Adjacent to", "Changed for"};
    for (int i = 0; i < 3; ++i) {
        const QPoint p = at + step * i;
        QComboBox* c = *combos[first + i] = MakeNamed<QComboBox>(parent, names[first + i]);
        MakeEditablePickList(c);
        c->setGeometry(p.x(), p.y(), comboWidth, 22);
        captionAbove(parent, c, captions[i]);
        // The height as the file or the editor gives it, stepped within its range by the buttons.
        const int min = first ? -1 : 0;
        QLineEdit* e = *edits[first + i] = MakeNamed<QLineEdit>(parent, editNames[first + i], QString::number(min));
        e->setGeometry(p.x() + comboWidth + 4, p.y(), 30, 22);
        *upDowns[first + i] = new TUpDown(parent, upDownNames[first + i], e, min, 1);
        (*upDowns[first + i])->PlaceBesideAssociate();
        captionAbove(parent, e, "Height");
    }
}

void TFram3::buildFilter()
{
    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Display Filter");
    GroupBox2->setGeometry(572, 58, 272, 262);
    buildNameHeights(GroupBox2, 3, QPoint(10, 46), QPoint(0, 56), 176);
    Button4 = MakeNamed<QPushButton>(GroupBox2, "Button4", "Apply");
    Button4->setToolTip("Apply filter");
    Button4->setGeometry(10, 206, 84, 28);
    Button5 = MakeNamed<QPushButton>(GroupBox2, "Button5", "Clear");
    Button5->setToolTip("Clear filter edit box");
    Button5->setGeometry(100, 206, 84, 28);
    enableInside(GroupBox2, false);
    connect(Button4, &QPushButton::clicked, this, Guard([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guard([this] { Button5Click(); }));

    // Outside the group, on its border, so that disabling the group's controls leaves it.
    CheckBox7 = MakeNamed<QCheckBox>(this, "CheckBox7", "Enable");
    CheckBox7->setToolTip("Enable filter");
    CheckBox7->setGeometry(766, 54, 70, 18);
    connect(CheckBox7, &QCheckBox::toggled, this, Guard([this] { CheckBox7Click(); }));
}

void TFram3::RadioButton1Click()
{
    Panel1->show();
    Panel2->hide();
}

void TFram3::RadioButton2Click()
{
    Panel1->hide();
    Panel2->show();
}

void TFram3::enableRuleButtons(bool on)
{
    Button2->setEnabled(on);
    Button3->setEnabled(on);
}

void TFram3::showRule(bool primary)
{
    TListView* view = primary ? ListView1 : ListView2;
    const std::optional<int> number = view->SelectedNumber();
    const CRules* rule = number ? (primary ? PrimaryRuleList : SecondaryRuleList).At(*number) : nullptr;
    if (!rule) return;
    enableRuleButtons(true);
    ComboBox1->setEditText(ToQt(rule->Placed));
    ComboBox2->setEditText(ToQt(rule->Adjacent));
    ComboBox3->setEditText(ToQt(rule->Changed));
    Edit1->setText(ToQt(rule->PlacedHeight));
    Edit2->setText(ToQt(rule->AdjacentHeight));
    Edit3->setText(ToQt(rule->ChangedHeight));
    shown_.Take();
    Label1->setText(ToQt("Rule # " + TListView::Text(view->SelectedRow(), 0)));
}

void TFram3::ListView1SelectItem()
{
    showRule(true);
}

void TFram3::ListView2Click()
{
    showRule(false);
}

bool TFram3::editorHasNames() const
{
    return !ComboBox1->currentText().isEmpty() && !ComboBox2->currentText().isEmpty() &&
           !ComboBox3->currentText().isEmpty();
}

void TFram3::setFromEditor(CRules& rule) const
{
    rule.SetPlaced(text(ComboBox1));
    rule.SetAdjacent(text(ComboBox2));
    rule.SetChanged(text(ComboBox3));
    rule.SetPlacedHeight(text(Edit1));
    rule.SetAdjacentHeight(text(Edit2));
    rule.SetChangedHeight(text(Edit3));
}

void TFram3::refresh()
{
    if (FilterActive)
        FilterRuleList();
    else
        ShowRules();
}

void TFram3::Button1Click()
{
    if (!editorHasNames()) return;
    auto* rule = new CRules;
    setFromEditor(*rule);
    shownList().Append(rule);
    refresh();
    // A filter on show keeps the editor as it is: stored all the same.
    shown_.Take();
}

void TFram3::Button2Click()
{
    // The selected rule of the list on show, and only one that has its three names; never
    // a rule of the hidden list, nor one whose row a refill took away.
    const std::optional<int> number = shownView()->SelectedNumber();
    CRules* rule = number ? shownList().At(*number) : nullptr;
    if (!rule) return;
    // Each empty name, as its caption shows it.
    std::string missing;
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3}) {
        const QLabel* caption = findChild<QLabel*>(c->objectName() + "Label");
        if (c->currentText().isEmpty()) missing += "\n   " + FromQt(caption ? caption->text() : c->objectName());
    }
    if (!missing.empty()) {
        AppDialogs().Warning("Rule not saved, no name given for :" + missing);
        return;
    }
    enableRuleButtons(false);
    setFromEditor(*rule);
    refresh();
    shown_.Take();
}

void TFram3::Button3Click()
{
    const std::optional<int> number = shownView()->SelectedNumber();
    if (!number || shownList().DeleteAt(*number) < 0) return;
    enableRuleButtons(false);
    refresh();
}

void TFram3::Button6Click()
{
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3}) c->setEditText({});
    for (QLineEdit* e : {Edit1, Edit2, Edit3}) e->setText("0");
    shown_.Take();
}

void TFram3::CheckBox7Click()
{
    FilterActive = CheckBox7->isChecked();
    enableInside(GroupBox2, FilterActive);
    if (FilterActive)
        FilterRuleList();
    else
        ShowRules();
}

void TFram3::Button4Click()
{
    FilterRuleList();
}

void TFram3::Button5Click()
{
    for (QComboBox* c : {ComboBox4, ComboBox5, ComboBox6}) c->setEditText({});
    for (QLineEdit* e : {Edit4, Edit5, Edit6}) e->setText("-1");
}

void TFram3::PopupMenu1Popup()
{
    Delete1->setVisible(ListView1->SelectedRow() != nullptr);
}

void TFram3::ListView1ColumnClick(TListView* view, int column)
{
    SortColumn = column;
    view->SortRows([this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView1Compare(a, b); });
}

int TFram3::ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const
{
    // Column 0 holds the numbers; column c the sub-item c - 1.
    return SortColumn == 0 ? CompareRowNumbers(a, b) : CompareRowTexts(a, b, SortColumn);
}

namespace {
using RuleFilter = std::function<bool(const CRules&)>;

// The rows of a list's rules, each under its position in the list; only the kept ones.
void fillRules(TListView* view, const CPtrList<CRules>& list, const RuleFilter& keep)
{
    ListFill fill(view);
    int i = 0;
    for (const CRules* r : list) {
        if (!keep || keep(*r))
            fill.Add(i, {r->Placed, r->PlacedHeight, r->Adjacent, r->AdjacentHeight, r->Changed, r->ChangedHeight});
        ++i;
    }
}
}

void TFram3::FilterRuleList()
{
    const std::string names[3] = {text(ComboBox4), text(ComboBox5), text(ComboBox6)};
    const std::string heights[3] = {text(Edit4), text(Edit5), text(Edit6)};
    // An empty name and a height of "-1" let every rule through; the rest compare exactly.
    fillRules(shownView(), shownList(), [&](const CRules& r) {
        const std::string* fields[6] = {&r.Placed, &r.Adjacent, &r.Changed,
                                        &r.PlacedHeight, &r.AdjacentHeight, &r.ChangedHeight};
        for (int i = 0; i < 3; ++i) {
            if (!names[i].empty() && names[i] != *fields[i]) return false;
            if (heights[i] != "-1" && heights[i] != *fields[3 + i]) return false;
        }
        return true;
    });
}

void TFram3::ShowRules()
{
    fillRules(ListView1, PrimaryRuleList, {});
    fillRules(ListView2, SecondaryRuleList, {});
    // No row is selected now, so there is no rule for Save or Delete.
    enableRuleButtons(false);
    Label1->clear();
    Button6Click();
}

void TFram3::SetTerrainNames(const StringList& names)
{
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3}) AssignItems(c, names);
}

std::optional<UnstoredValues> TFram3::Unstored() const
{
    if (!shown_.Differs()) return std::nullopt;
    return ::Unstored(ComboBox1, "rule editor of the \"Rules\" tab",
                      shownView()->SelectedRow() ? "\"Save\"" : "\"Add\"");
}

void TFram3::ClearTerrainNames()
{
    for (QComboBox* c : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6}) ClearItemsKeepText(c);
}
