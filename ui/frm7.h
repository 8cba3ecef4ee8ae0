#pragma once
// The "Files/Textures" tab: the tileset folder checked against the tiles (missing and unused
// files), the textures the models name (per tile or for the whole tileset) with previews and
// the texture change, the model converter, stock models from the archives, and the prefix
// renamer. Every command that touches files does nothing while the tileset has no folder.
#include <string>
#include <vector>

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "platform/StringList.h"
#include "ui/ImageView.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

class CTile;

// What a texture change acts on, fixed when "Change this texture" is pressed, so the
// dialog changes what it was opened for whatever the tab shows by the time it is confirmed.
struct TextureChangeRequest {
    enum Scope { OneTile, DisplayedTiles, WholeTileset };
    Scope scope = OneTile;
    std::string folder;          // the tileset folder it was made for
    std::string oldTexture;
    // OneTile: the tile's model; DisplayedTiles: the models of the rows shown. The whole
    // tileset takes the tiles as they are when the change is made.
    std::vector<std::string> models;
};

class TFram7 : public TFrame {
    Q_OBJECT
public:
    explicit TFram7(QWidget* parent = nullptr);

    // The tileset's folder, as Open and Save give it.
    std::string CurrentSetDir;

    StringList TileTextures;     // textures of the selected tile
    StringList TilesetTextures;  // textures of all tiles, from the last "Search"
    StringList UnusedFiles;      // full paths the last unused-file search found
    int SortColumn = 0;          // last clicked list-view column

    TLabeledEdit* LabeledEdit1;  // "Working Directory"
    QRadioButton* RadioButton3;  // "Missing Files"
    QRadioButton* RadioButton4;  // "Unused Files"
    QRadioButton* RadioButton5;  // "Files renamer"
    QPushButton* Button1;        // "Search"
    QPushButton* Button3;        // "Rename"

    QGroupBox* GroupBox1;        // "Missing Files"
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QPlainTextEdit* Memo1;
    QProgressBar* ProgressBar1;

    QGroupBox* GroupBox3;        // "Unused Files"
    QPlainTextEdit* Memo2;
    QProgressBar* ProgressBar3;
    QPushButton* Button4;
    QCheckBox* CheckBox11;

    QGroupBox* GroupBox4;        // "Files prefix renamer"
    QLabel* Label1;
    QLabel* StaticText3;
    QComboBox* ComboBox1;        // the old prefix
    TLabeledEdit* LabeledEdit3;  // "Change to"
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QPlainTextEdit* Memo3;
    QProgressBar* ProgressBar5;
    QPushButton* Button8;

    QGroupBox* GroupBox2;        // "Textures"
    QRadioButton* RadioButton1;  // "Per Tile"
    QRadioButton* RadioButton2;  // "Entire TileSet"
    QFrame* Panel3;
    TImage* Image1;
    QLabel* Panel4;              // image size
    QLabel* Panel5;              // texture kind
    QPushButton* Button5;
    QCheckBox* CheckBox8;

    QFrame* Panel1;              // Per Tile
    TListView* ListView1;
    QLineEdit* Edit3;
    QPushButton* Button7;
    QPushButton* Button6;
    QLabel* Label2;
    QLabel* StaticText2;
    QListWidget* ListBox1;
    QLineEdit* Edit4;
    QProgressBar* ProgressBar4;
    QPushButton* Button9;
    QPushButton* Button10;

    QFrame* Panel2;              // Entire TileSet
    QPushButton* Button2;
    QCheckBox* CheckBox6;
    QListWidget* ListBox2;
    QLineEdit* Edit1;
    QProgressBar* ProgressBar2;
    QCheckBox* CheckBox7;
    TListView* ListView2;
    QLineEdit* Edit2;

    QLabel* StaticText1;

    // Missing and unused files.
    void RadioButton3Click();
    void RadioButton4Click();
    void Button1Click();
    void Button4Click();

    // Textures.
    void RadioButton1Click();
    void RadioButton2Click();
    void Button6Click();
    void Button7Click();
    void ListView1Click();
    void ListBox1Click(QListWidget* sender);
    void Button2Click();
    void Image1Click();
    void Button5Click();
    void Button9Click();
    void Button10Click();
    void ListView1ColumnClick(TListView* sender, int column);
    int ListView1Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const;
    // Called by the texture dialog's "Change !".
    void ChangeTileTexture(const std::string& newName, const TextureChangeRequest& request);
    void ChangeTilesetTexture(const std::string& newName, const TextureChangeRequest& request);

    // The renamer.
    void RadioButton5Click();
    void CheckBox10Click();
    void Button8Click();
    void Button3Click();

    // The views the model refreshes: the tile list with its count (and the renamer's
    // prefixes, when it is shown).
    void FillTileList();
    void ClearTileList();
    // Open or New: nothing found in the last tileset's folder or models stays on show.
    void ForgetTileset();
    // Tile n's Model changed in place: its row shows the new one, and a selected tile's
    // textures are those of its new model.
    void TileModelChanged(int tile);
    // "See textures" of the Tiles tab: this tab, "Per Tile", the row of that tile selected
    // and its textures listed, the first one previewed.
    void SeeTileTextures(int tileNumber);

private:
    void buildFilesPart();
    void buildRenamer();
    void buildTextures();
    void buildPerTile();
    void buildEntireTileset();
    void connectTextures();
    void resetTileTextures();
    void refillPrefixes();
    void showTexturesOfTile(const CTile& tile);
    void selectTexture(QListWidget* box, const std::string& name);
    bool haveFolder() const;
    const CTile* selectedTile() const;
};
