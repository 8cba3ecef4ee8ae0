#pragma once
// The "Rules" tab: the primary and secondary rules, one list shown at a time, an editor
// that adds, saves and deletes rules, and a display filter over the shown list.
#include <optional>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "model/Tileset.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

class TFram3 : public TFrame {
    Q_OBJECT
public:
    explicit TFram3(QWidget* parent = nullptr);

    // The tileset's rules; the model holds them, the tab reaches them here (references
    // where a form would hold a CPtrList<CRules *> *, so the tab never owns them).
    CPtrList<CRules>& PrimaryRuleList;
    CPtrList<CRules>& SecondaryRuleList;
    bool FilterActive = false;
    int SortColumn = 0;

    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton1; // Primary
    QRadioButton* RadioButton2; // Secondary
    QWidget* Panel1;
    QLabel* StaticText2; // "PRIMARY RULES"
    TListView* ListView1;
    QWidget* Panel2;
    QLabel* StaticText1; // "SECONDARY RULES"
    TListView* ListView2;

    QComboBox* ComboBox1; // Placed
    QComboBox* ComboBox2; // Adjacent to
    QComboBox* ComboBox3; // Changed for
    QLineEdit* Edit1;     // the three heights
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    TUpDown* UpDown1;
    TUpDown* UpDown2;
    TUpDown* UpDown3;
    QLabel* Label1; // "Rule # " and the shown rule's number
    QPushButton* Button1; // Add
    QPushButton* Button2; // Save
    QPushButton* Button3; // Delete
    QPushButton* Button6; // Clear

    QCheckBox* CheckBox7; // the filter's Enable
    QGroupBox* GroupBox2; // Display Filter
    QComboBox* ComboBox4;
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    TUpDown* UpDown4;
    TUpDown* UpDown5;
    TUpDown* UpDown6;
    QPushButton* Button4; // Apply
    QPushButton* Button5; // Clear

    QMenu* PopupMenu1;
    QAction* Delete1;

    void RadioButton1Click();
    void RadioButton2Click();
    void ListView1SelectItem();
    void ListView2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button6Click();
    void CheckBox7Click();
    void Button4Click();
    void Button5Click();
    void PopupMenu1Popup();
    void ListView1ColumnClick(TListView* view, int column);
    int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
    void FilterRuleList();

    // Both views rebuilt from both lists, and the editor reset: no rule is selected.
    void ShowRules();
    // The items of the editor's three pick-lists (the filter's have none); texts stay.
    void SetTerrainNames(const StringList& names);
    void ClearTerrainNames();
    // The rule editor when it holds typed values that Save or Add has not stored.
    std::optional<UnstoredValues> Unstored() const;

private:
    void buildViews();
    void buildEditor();
    void buildFilter();
    void buildNameHeights(QWidget* parent, int first, QPoint at, QPoint step, int comboWidth);
    bool primaryShown() const { return RadioButton1->isChecked(); }
    CPtrList<CRules>& shownList() { return primaryShown() ? PrimaryRuleList : SecondaryRuleList; }
    TListView* shownView() const { return primaryShown() ? ListView1 : ListView2; }
    void showRule(bool primary);
    void setFromEditor(CRules& rule) const;
    bool editorHasNames() const;
    void enableRuleButtons(bool on);
    void refresh();
    // The rule last shown, or the emptied editor.
    EditorSnapshot shown_;
};
