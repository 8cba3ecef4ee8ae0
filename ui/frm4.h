#pragma once
// The "Tiles" tab: the tile list with its sorting and popup menu, the tile editor on two
// pages with the tile's doors, and the display filter box. The tiles themselves are the
// model's TileList (TS()); a row's caption is the tile's number there.
//
// The frame is split over files: frm4.cpp builds the controls, frm4Editor.cpp holds the
// list and the editor with the tile views, frm4Doors.cpp the doors, frm4Delete.cpp the
// deletions of tiles.
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>

#include "gamedata/Filefun.h"
#include "model/Class.h"
#include "ui/ImageView.h"
#include "ui/ListView.h"
#include "ui/TileFilterView.h"
#include "ui/Widgets.h"

class TFram4 : public TFrame {
    Q_OBJECT
public:
    // The 31 letters of "Path Node", in the order of their pictures.
    static constexpr const char* PathNodeLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde";
    static constexpr int PathNodeCount = 31;
    // A tile holds at most this many doors; New adds none beyond.
    static constexpr int MaxDoors = 4;

    explicit TFram4(QWidget* parent = nullptr);

    // A door was started with "New" and is not saved yet.
    bool NewDoorPending = false;
    // What the current deletion removed and missed (DeletedFileCount, DeletedFiles,
    // MissingFileCount, MissingFiles); the deletions empty and fill it.
    TileDeleteReport DeleteReport;
    // The list shows the display filter's selection.
    bool FilterActive = false;
    // The list column last clicked.
    int SortColumn = 0;

    // The list side.
    TListView* ListView1;
    QLabel* CountLabel; // "Count :"
    QLineEdit* Edit1;   // number of rows
    QLabel* Label1;     // "Tile # n" or "No selection"
    QPushButton* Button3;  // "Del Selected"
    QPushButton* Button2;  // "Add/Copy"
    QPushButton* Button1;  // "Clear Infos"
    QPushButton* Button4;  // "Save Change"
    QPushButton* Button10; // "Delete Displayed"
    QProgressBar* ProgressBar1;
    QMenu* PopupMenu1;
    QAction* Copythistile1;
    QAction* Delete1;
    QAction* DeleteAll1;
    QAction* Seetextures1;

    // The editor.
    QTabWidget* PageControl1;
    QWidget* GeneralPage;    // "General"
    QWidget* PropertiesPage; // "Properties"
    TLabeledEdit* LabeledEdit1; // "Model"
    TLabeledEdit* LabeledEdit2; // "WalkMesh": the shown tile's own, "msb01" for a new one
    QComboBox* ComboBox1;       // corner terrains: "TopLeft"
    QComboBox* ComboBox2;       // "TopRight"
    QComboBox* ComboBox3;       // "BottomLeft"
    QComboBox* ComboBox4;       // "BottomRight"
    QLineEdit* Edit2;           // corner heights, in the same order
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    TUpDown* UpDown1;
    TUpDown* UpDown2;
    TUpDown* UpDown3;
    TUpDown* UpDown4;
    QComboBox* ComboBox5; // edge crossers: "Top"
    QComboBox* ComboBox6; // "Right"
    QComboBox* ComboBox7; // "Bottom"
    QComboBox* ComboBox8; // "Left"
    QComboBox* ComboBox17; // "MiniMap": the minimap names found in the game's archives
    ComboPickList MiniMapList;
    TImage* Image1;        // the minimap preview
    QLabel* Label2;        // where the preview came from
    QComboBox* ComboBox18; // "Path Node"
    QLineEdit* Edit6;      // its orientation
    TUpDown* UpDown5;
    TImage* Image2;        // the path-node picture
    QPushButton* Button11; // "Show List"
    TLabeledEdit* LabeledEdit4; // "Visibility Node"
    QLineEdit* Edit7;           // its orientation
    TUpDown* UpDown6;
    TLabeledEdit* LabeledEdit5; // "Door Node"
    QLineEdit* Edit8;           // its orientation
    TUpDown* UpDown7;
    QCheckBox* CheckBox6; // "MainLight1"
    QCheckBox* CheckBox7; // "MainLight2"
    QCheckBox* CheckBox8; // "SourceLight1"
    QCheckBox* CheckBox9; // "SourceLight2"
    QCheckBox* CheckBox1; // "Animation loop 1"
    QCheckBox* CheckBox2; // "Animation loop 2"
    QCheckBox* CheckBox3; // "Animation loop 3"
    QGroupBox* GroupBox3; // "Doors"
    TLabeledEdit* LabeledEdit10; // "Type"
    TLabeledEdit* Edit13;        // "X"
    TLabeledEdit* Edit14;        // "Y"
    TLabeledEdit* Edit15;        // "Z"
    TLabeledEdit* Edit16;        // "Orientation"
    QPushButton* Button8;        // door "Save"
    QPushButton* Button9;        // door "Delete"
    TLabeledEdit* Edit17;        // "Current": the door shown
    TUpDown* UpDown8;
    TLabeledEdit* Edit18;        // "Total": the doors of the tile
    QPushButton* Button6;        // door "New"
    // The path-node pictures, one per letter of "Path Node"; drawn by the previews.
    QList<QImage> ImageList1;
    // The previews (frm4Pictures.cpp): the minimap of a name the user types or picks, the
    // path-node picture of the chosen letter at the orientation, and the chart of the
    // letters in the "Path Node List" window.
    void ComboBox17Change();
    void ComboBox18Select();
    void Button11Click();
    // The minimap of a tile being shown, its name into the name box (CTile::ShowInFrame).
    void showTileMinimap(const std::string& name);
    void setUpPreviews();

    // The display filter box; the filter itself acts through these controls.
    QCheckBox* CheckBox4; // "Enable"
    QGroupBox* GroupBox4; // "Display Filter"
    TLabeledEdit* LabeledEdit11; // "First letters search"
    QLabel* TerrainHeading;
    QComboBox* ComboBox9;
    QComboBox* ComboBox10;
    QComboBox* ComboBox11;
    QComboBox* ComboBox12;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QCheckBox* CheckBox5; // "All instances of :"
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    TUpDown* UpDown9;
    TUpDown* UpDown10;
    TUpDown* UpDown11;
    TUpDown* UpDown12;
    QLabel* CrosserHeading;
    QComboBox* ComboBox13;
    QComboBox* ComboBox14;
    QComboBox* ComboBox15;
    QComboBox* ComboBox16;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QCheckBox* CheckBox10; // "All instances of"
    QCheckBox* CheckBox12; // "only"
    QCheckBox* CheckBox11; // "No Crosser"
    TLabeledEdit* LabeledEdit6; // "Doors"
    TUpDown* UpDown13;
    QRadioButton* RadioButton1; // "Only non group members"
    QRadioButton* RadioButton2; // "Only group members"
    QRadioButton* RadioButton3; // "Both"
    QPushButton* Button5; // filter "Apply"
    QPushButton* Button7; // filter "Clear"

    // The display filter (frm4Filter.cpp). FilterTileList fills list with the tiles that
    // pass the box's criteria and count with their number. Run on this tab's ListView1 it
    // is the tab's filter: FilterActive is set and the editor emptied; another tab's list
    // is filled without touching this tab.
    int FilterTileList(TListView* list, QLineEdit* count);
    TileFilterControls FilterControls() const;
    void CheckBox4Click();
    void Button5Click();
    void LabeledEdit11Change();
    void Button7Click();
    void CheckBox5Click();
    void CheckBox10Click();
    void CheckBox11Click();
    void CheckBox12Click();

    // Handlers. The deletions (Button3Click, Button10Click), the display filter
    // (CheckBox4Click, Button5Click, Button7Click, LabeledEdit11Change and the mode
    // switches CheckBox5Click, CheckBox10Click, CheckBox11Click, CheckBox12Click), the
    // previews (ComboBox17Change, ComboBox18Select, Button11Click) and "See textures"
    // (Seetextures1Click) join them in files of their own.
    void ListView1SelectItem();
    void Button4Click();
    void Button2Click();
    void Button1Click();
    void Button6Click();
    void Button8Click();
    void Button9Click();
    void Edit17Change();
    void ListView1ColumnClick(int column);
    static int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int column);
    void PopupMenu1Popup();
    void Seetextures1Click();
    // The deletions: the selected tile, and every tile the list shows.
    void Button3Click();
    void Button10Click();

    // Empties the editor for a new tile.
    void ClearTileFields();
    // Empties it for another tileset: the minimap name and the pictures go too.
    void ForgetTileset();
    // The tileset is in another folder now: the shown tile's minimap is looked up there.
    void FolderChanged();
    // The tile editor or the door box when it holds typed values that "Save Change",
    // "Add/Copy" or the door's "Save" has not stored.
    std::optional<UnstoredValues> Unstored() const;
    // The checks before a tile is stored; the first failure shows its message.
    bool ValidateTileFields();

    // The tile views: every tile of TileList into the list (CTile::FillMainLists, this
    // tab's part), one tile into the editor (CTile::ShowInFrame) and back
    // (CTile::ReadFromFrame), the door fields into the tile's doors
    // (CTile::StoreDoorFromFrame).
    void FillTileList();
    void ShowInFrame(const CTile& tile);
    void ReadFromFrame(CTile& tile) const;
    void StoreDoorFromFrame(CTile& tile);

    // The items of the eight terrain and the eight crosser pick-lists; their texts stay.
    void SetTerrainNames(const StringList& names);
    void SetCrosserNames(const StringList& names);

    // The tile of the selected row; null without a selection or for a number no tile has.
    CTile* SelectedTile() const;

    // What the deletions share with the Groups tab's deletion of a group with its tiles.
    // True when every cell of every group is a tile number, so the cells can follow the
    // tiles that go; otherwise says which cell is not and that nothing is deleted.
    bool CheckGroupCellsBeforeDelete();
    // Removes the tiles with these numbers (each once; a number no tile has is passed
    // over) and keeps every group's cells on the tiles they named. Returns the tiles removed.
    int RemoveTiles(std::vector<int> numbers);
    // The list shows the display filter's selection again, after tiles went.
    void RerunDisplayFilter();

private:
    void buildListSide();
    void buildGeneralPage();
    void buildPropertiesPage();
    void buildFilterBox();
    void connectFilterHandlers();
    void connectHandlers();
    void connectDeletions();
    // The answer to the question about a deleted tile's files.
    enum class AssetAnswer { Keep, AskEachFile, DeleteAll };
    AssetAnswer askAssetQuestion();
    // Deletes the tile's files as answered; false when the tileset folder cannot be listed.
    bool deleteAssetFiles(const CTile& tile, AssetAnswer answer);
    // Every tile list after tiles of this tab went.
    void showTilesAfterDelete();

    // The doors the editor works on: those the tile both declares and holds.
    static int doorsHeld(const CTile& tile);
    // Door state of the editor for the tile: range, "Current", "Total", door 1's fields.
    void showDoors(const CTile& tile);
    void showDoor(const CTile& tile, int n);
    void setDoorBoxEnabled(bool on);
    void updateNewButton();
    // The path node into its box; a value that is none of the letters gets an entry of its
    // own, so it is shown and read back unchanged.
    void showPathNode(const std::string& node);
    void dropOwnPathNode();

    // The tile and the door last shown, or the emptied editor.
    EditorSnapshot tileShown_;
    EditorSnapshot doorShown_;
};
