#pragma once
// The "Import Tiles/Groups" tab: a second tileset, the source, read from disk or out of the
// game archives into the import lists, shown as lists of tiles and groups with their
// information panels and display filters, beside the lists of the tileset being edited.
//
// The source's lists live in the model (TS().Import...); the tab reaches them through the
// reference members below. Its folder is the source file's folder, or the archive marker
// (ArchiveSourceMarker), which names no folder: nothing joins it to a path.
#include <memory>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "gamedata/Filefun.h"
#include "gamedata/GameViews.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "ui/ImageView.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

class TFram6 : public TFrame, public ImportSetReader {
    Q_OBJECT
public:
    explicit TFram6(QWidget* parent = nullptr);

    // The main tileset's folder, as Open and Save give it; empty while it has none.
    std::string CurrentSetDir;
    // The source's folder (absolute), or ArchiveSourceMarker for a stock tileset.
    std::string ImportSetDir;
    // The source's entries, in the model: CPtrList<CTerrain *>, CPtrList<CCrosser *>,
    // CPtrList<CTile *> and CPtrList<CGroup *> in the editor's terms. At (as in
    // CPtrList<CTile *>::At, CPtrList<CGroup *>::At) is null outside a list: a row whose
    // number names no entry is passed over that way.
    std::unique_ptr<CGeneral>& ImportGeneral;
    CPtrList<CTerrain>& ImportTerrains;
    CPtrList<CCrosser>& ImportCrossers;
    CPtrList<CTile>& ImportTiles;
    CPtrList<CGroup>& ImportGroups;
    // Rows the last filter run put in the tile (group) list; -1 while the list shows all.
    int ShownTileCount = -1;
    int ShownGroupCount = -1;
    int SortColumn = 0;
    bool AutoImportTerrainCrosser = false;

    // What the last import did, kept until the next one. The copies fill the file part
    // (FilesCopiedText, FilesNotFoundCount, FilesNotFoundText, the texture list
    // ImportTextures) and answer into AskEachFile, which each later copy is given; the
    // import lists the group and the tiles it appended, one "\n   " + name each.
    ImportCopyReport CopyReport;
    std::string ImportedGroupText;
    std::string ImportedTilesText;

    // The tileset being edited.
    TLabeledEdit* LabeledEdit3; // "FileName"
    QGroupBox* GroupBox1;       // "Current Set tiles list"
    TListView* ListView1;
    QLineEdit* Edit1;
    QGroupBox* GroupBox7;       // "Current Set groups list"
    TListView* ListView4;
    QLineEdit* Edit18;

    QPushButton* Button1; // "Open Set File"
    QPushButton* Button9; // "NWN"
    QPushButton* Button2; // "Close Set File"
    QRadioButton* RadioButton3; // "Tiles"
    QRadioButton* RadioButton4; // "Groups"
    QPushButton* Button5; // "<"
    QPushButton* Button8; // "<<"

    // The source.
    QGroupBox* GroupBox2; // "Tiles to copy"
    TLabeledEdit* LabeledEdit2; // "FileName"
    TLabeledEdit* LabeledEdit1; // "TileSet Name"
    TListView* ListView2;
    TListView* ListView3;
    QLineEdit* Edit3;
    QLabel* Label10;
    QRadioButton* RadioButton1; // "Infos"
    QRadioButton* RadioButton2; // "Display Filter"
    QProgressBar* ProgressBar1;
    QCheckBox* CheckBox1; // "Auto Import Terrain/Crosser"
    QCheckBox* CheckBox6; // "Auto Convert MDL to ASCII"

    // Tile information.
    QGroupBox* GroupBox4;
    QLineEdit* Edit17; // Model
    TLabeledEdit* LabeledEdit5;
    TLabeledEdit* LabeledEdit6;
    TLabeledEdit* LabeledEdit7;
    TLabeledEdit* LabeledEdit8;
    QLineEdit* Edit7;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    TLabeledEdit* LabeledEdit9;
    TLabeledEdit* LabeledEdit10;
    TLabeledEdit* LabeledEdit11;
    TLabeledEdit* LabeledEdit12;
    QLineEdit* Edit11; // PathNode
    QLineEdit* Edit12; // VisibilityNode
    QLineEdit* Edit13; // DoorVisibilityNode
    QLineEdit* Edit14; // Orientation
    QLineEdit* Edit15; // VisibilityOrientation
    QLineEdit* Edit16; // DoorVisibilityOrientation
    TLabeledEdit* LabeledEdit19; // "Doors Count"
    TImage* Image1;
    QLineEdit* Edit22; // minimap name
    QLabel* Label1;

    // Group information.
    QGroupBox* GroupBox6; // "Group infos"
    TLabeledEdit* LabeledEdit13; // "Name"
    TLabeledEdit* LabeledEdit14; // "StrRef"
    QLineEdit* Edit21;           // the StrRef's text
    QLineEdit* Edit19;           // "Rows"
    QLineEdit* Edit20;           // "Columns"
    QListWidget* ListBox1;       // "Tiles members"

    // Tile filter.
    QGroupBox* GroupBox3; // "Tiles display Filter"
    QPushButton* Button3; // "Apply"
    QPushButton* Button4; // "Reset"
    TLabeledEdit* LabeledEdit4; // "Model first letters search"
    QCheckBox* CheckBox2; // "All instances of"
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* Edit2;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QCheckBox* CheckBox3; // "No crosser at all"
    QCheckBox* CheckBox4; // "All instance of"
    QCheckBox* CheckBox5; // "only"
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QComboBox* ComboBox7;
    QComboBox* ComboBox8;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    TLabeledEdit* LabeledEdit16; // "Doors Count"
    QRadioButton* RadioButton5;  // "Only non group members"
    QRadioButton* RadioButton6;  // "Only group members"
    QRadioButton* RadioButton7;  // "Both"

    // Group filter.
    QGroupBox* GroupBox5; // "Groups display filter"
    TLabeledEdit* LabeledEdit15; // "First letters name search"
    TLabeledEdit* LabeledEdit18; // "Tiles count"
    TLabeledEdit* LabeledEdit17; // "First letters tile member"
    QPushButton* Button6; // "Apply"
    QPushButton* Button7; // "Clear"

    QMenu* PopupMenu1;
    QAction* ImportThisTile1;
    QAction* ImportAllDisplayedTiles1;
    QAction* ImportThisGroup1;
    FileDialogOptions OpenDialog1;

    void Button1Click();
    void Button9Click();
    void Button2Click();
    // Reads a whole source from the open file into the import lists and shows it, with a
    // message of what the reader had to guess. The caller has started the source
    // (StartSource).
    void ReadImportSet(TextFile& file) override;
    // Opens the archives' stock tileset of that name as the source; false, with the tab's
    // open warning and the previous source kept, when it cannot be extracted.
    bool OpenArchivedSet(const std::string& name);

    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void ApplyTileFilter();
    void ApplyGroupFilter();
    void Button3Click();
    void Button4Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void CheckBox1Click();
    void CheckBox6Click();
    // A row selected in the list on display shows its entry's information.
    void ListView2SelectItem(TListView* sender);
    // Shows the items that fit the list the menu opens on; false when none does.
    bool PopupMenu1Popup(TListView* on);
    void ListView3ColumnClick(TListView* list, int column);
    int ListView3Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
    // The imports of the selected row and of every row on display, of tiles or of groups
    // as the mode says, into the tileset being edited.
    void Button5Click();
    void Button8Click();

    // The import views (the model's FillImportLists of each kind).
    void FillImportTiles();
    void FillImportGroups();
    void FillImportTerrains();
    void FillImportCrossers();
    void ShowInImportFrame(const CTile& tile);
    void ShowInImportFrame(const CGroup& group);
    // The edited tileset's tiles and groups.
    void FillCurrentTiles();
    void ClearCurrentTiles();
    void FillCurrentGroups();
    void ClearImportGroupView();

    // True when the source lies in the edited tileset's folder, however either path is
    // written; never for a stock tileset or a tileset without a folder.
    bool SourceInCurrentSetFolder() const;

private:
    void buildCurrentSet();
    void buildSource();
    void buildTileInfo(QWidget* area);
    void buildGroupInfo(QWidget* area);
    void buildTileFilter(QWidget* area);
    void buildGroupFilter(QWidget* area);
    void connectHandlers();
    // What every successful open does before reading: the import lists and the source's
    // pick-lists, name and lists emptied, the source's controls enabled.
    void StartSource(const std::string& folder, const std::string& fileName);
    void showPanel(QGroupBox* panel);
    void showCount();
    void enableSource(bool on);
    void clearInformation();
};

// The name a source's [GENERAL] gives the tileset: its DisplayName's talk-table text, or
// UnlocalizedName for -1 (or when DisplayName is empty, falling back to Name); "Bad strref"
// for a DisplayName that is not a number.
std::string ImportTilesetName(const CGeneral& general);
