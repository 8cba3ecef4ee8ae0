#pragma once
// The "Terrain / Crosser" tab: the terrain and crosser lists side by side, each with its
// editor (add, apply, delete, the StrRef's text), and the mass renamer that replaces a
// terrain or crosser name wherever the tileset uses it.
#include <optional>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "model/Tileset.h"
#include "ui/Widgets.h"

class TFram2 : public TFrame {
    Q_OBJECT
public:
    explicit TFram2(QWidget* parent = nullptr);

    // The tileset's terrains and crossers and the reader's flags for them; the model holds
    // them, the tab reaches them here (references where a form would hold a
    // CPtrList<CTerrain *> * and a CPtrList<CCrosser *> *, so the tab never owns them).
    CPtrList<CTerrain>& TerrainList;
    CPtrList<CCrosser>& CrosserList;
    bool& ReadTerrainsIntoMain;
    bool& ReadCrossersIntoMain;

    QLabel* StaticText1; // "Terrain"
    QWidget* Panel1;
    QListWidget* ListBox1;
    QLabel* Label1;
    QLineEdit* Edit3; // terrain count
    TLabeledEdit* LabeledEdit1; // Name
    TLabeledEdit* LabeledEdit2; // StrRef
    QLineEdit* Edit1;           // the StrRef's text
    TLabeledEdit* LabeledEdit7; // Unlocalized Name
    QPushButton* Button1;       // Add
    QPushButton* Button2;       // Apply
    QPushButton* Button3;       // Delete

    QLabel* StaticText2; // "Crosser"
    QWidget* Panel2;
    QListWidget* ListBox2;
    QLabel* Label2;
    QLineEdit* Edit4;
    TLabeledEdit* LabeledEdit3;
    TLabeledEdit* LabeledEdit4;
    QLineEdit* Edit2;
    TLabeledEdit* LabeledEdit8;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;

    QGroupBox* GroupBox1; // the mass renamer
    QRadioButton* RadioButton1; // Terrain
    QRadioButton* RadioButton2; // Crosser
    QLabel* Label4;
    QComboBox* ComboBox1; // Change
    QLabel* Label5;
    QComboBox* ComboBox2; // To
    QPushButton* Button7; // Rename
    QLabel* Label3;       // the renamer's result
    QLabel* Image1;

    void ListBox1Click();
    void ListBox2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void LabeledEdit2Change();
    void LabeledEdit4Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void ComboBox1Enter(QComboBox* sender);
    void Button7Click();

    // The views of each kind: the list box with these names (the model's, in list order),
    // its count, and its editor emptied.
    void ShowTerrains(const StringList& names);
    void ShowCrossers(const StringList& names);
    // The names as the list boxes show them.
    StringList TerrainNames() const;
    StringList CrosserNames() const;
    // The terrain or crosser editor when it holds typed values that Apply or Add has not
    // stored.
    std::optional<UnstoredValues> Unstored() const;

private:
    // One side of the tab: the terrain or the crosser controls.
    struct Side {
        QListWidget* list;
        QLabel* countLabel;
        QLineEdit* count;
        TLabeledEdit* name;
        TLabeledEdit* strref;
        QLineEdit* strrefText;
        TLabeledEdit* unlocalized;
        // The entry last shown, or the emptied editor.
        EditorSnapshot shown;
    };
    Side terrain_;
    Side crosser_;

    Side buildSide(QWidget* panel, const char* const names[], const char* const hints[], QPushButton* buttons[3]);
    // Both StrRef edits take digits only.
    void LabeledEdit2KeyPress(QLineEdit* edit);
    static int selectedRow(const Side& side);
    static void showEntry(Side& side, const CNamedType* entry);
    static void showStrRefText(const Side& side);
    static void fillSide(Side& side, const StringList& names);
    template <class T>
    void add(const Side& side, CPtrList<T>& list);
    template <class T>
    void apply(const Side& side, CPtrList<T>& list, bool terrains);
    template <class T>
    void remove(Side& side, CPtrList<T>& list, bool terrains);
};
