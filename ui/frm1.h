#pragma once
// The general settings frame at the bottom of the main window: the tileset's [GENERAL] and
// [GRASS] settings, and the program's file commands (Open, New, Save .SET, Save .ITP,
// Options) with the popup menu.
#include <optional>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

#include "model/Class.h"
#include "platform/Dialogs.h"
#include "ui/Widgets.h"

// A colour channel's text as the grass settings keep it: "1" and "0" become "1.000" and
// "0.000"; other texts are cut to five characters "d.ddd", and a third decimal of 1 (the
// float noise of k/255) becomes 0.
std::string FormatColorValue(std::string t);
// The text of one colour component 0..255 as the colour picker writes it.
std::string ColorComponentText(uint32_t component);

// False, after a message naming the file, when what was read from path can be no tileset
// (binary data, or no tileset section): the readers would take it for an empty one.
bool IsTilesetFile(const TextFile& file, const std::string& path);
// Shows in one message what the reader had to guess about the file at path; nothing for
// a file that read as written.
void ShowSetFindings(const std::string& path, const SetFindings& findings);

class TFram1 : public TFrame {
    Q_OBJECT
public:
    static constexpr int FrameHeight = 202;

    explicit TFram1(QWidget* parent = nullptr);

    QPushButton* OpenButton;
    QPushButton* Button1; // New
    QPushButton* Button2; // Save .SET
    QPushButton* Button5; // Save .ITP
    QPushButton* Button4; // Options

    QGroupBox* GroupBox1; // General
    TLabeledEdit* NameEdit;
    TLabeledEdit* TypeEdit;
    TLabeledEdit* VersionEdit;
    TLabeledEdit* EnvMapEdit;
    QComboBox* BorderCombo;
    QComboBox* DefaultCombo;
    QComboBox* FloorCombo;
    QLabel* BorderLabel;
    QLabel* DefaultLabel;
    QLabel* FloorLabel;
    QCheckBox* TransitionCheck;
    TLabeledEdit* TransitionEdit;
    QCheckBox* InteriorCheck;
    TLabeledEdit* UnlocalEdit;
    TLabeledEdit* DisplayEdit;
    TUpDown* UpDown1;
    QLineEdit* Edit1; // the text of the DisplayName StrRef
    QLabel* Image1;

    QCheckBox* GrassCheck;
    QGroupBox* GroupBox2; // Grass
    TLabeledEdit* DensityEdit;
    TLabeledEdit* HeightEdit;
    TLabeledEdit* DRedEdit;
    TLabeledEdit* DGreenEdit;
    TLabeledEdit* DBlueEdit;
    TLabeledEdit* ARedEdit;
    TLabeledEdit* AGreenEdit;
    TLabeledEdit* ABlueEdit;
    TColorPanel* Panel1; // diffuse red
    TColorPanel* Panel2; // ambient red
    TColorPanel* Panel3; // diffuse green
    TColorPanel* Panel4; // ambient green
    TColorPanel* Panel5; // diffuse blue
    TColorPanel* Panel6; // ambient blue
    TColorPanel* Panel7; // diffuse result
    TColorPanel* Panel8; // ambient result
    QLabel* ResultLabel;

    QStatusBar* StatusBar1;
    QLabel* StatusPanel; // its one panel: "SET FILE : " and the file
    QMenu* PopupMenu1;
    QAction* Options1;
    QAction* About1;
    QAction* Exit1;

    FileDialogOptions OpenDialog1;
    FileDialogOptions SaveDialog1;
    FileDialogOptions SaveDialog2;

    void OpenButtonClick();
    void Button1Click();
    void Button2Click();
    void Button5Click();
    void Button4Click();
    void Options1Click();
    void About1Click();
    void Exit1Click();
    void GrassCheckClick();
    void DisplayEditChange();
    void Panel7Click(TColorPanel* sender);

    bool ValidateTileset();
    // Save .SET: true when the file was written.
    bool SaveSetFile();
    // True when Save .SET would write something else than was last opened, made new or
    // saved; never before the first Open or New.
    bool TilesetChanged();
    // Before the tileset is replaced or the window closes: when it has changed, or a tab's
    // editor holds typed values it has not stored, asks whether to save it. False when the
    // user cancels or the save does not happen: nothing may go on then. Values in an editor
    // are not stored for the user: Yes brings the user to that editor instead of saving.
    bool AskToSaveChanges();

    // The general view: the frame from the entry, and the entry from the frame.
    void ShowGeneral(const CGeneral& general);
    void ReadGeneral(CGeneral& general) const;
    // The items of the three terrain pick-lists; their texts stay.
    void SetTerrainNames(const StringList& names);

private:
    void buildGeneralBox();
    void buildGrassBox();
    void buildCommands();
    void enableInside(QGroupBox* box, bool on);
    void showSetFolder();
    void startEditing();
    // A save would leave out what a tab's editor holds typed and not stored, while the
    // user believes it saved: when there is such an editor, the user is taken to it and
    // told how to store them, and the result is true.
    bool showUnstoredValues();
    bool fail(MsgKind kind, const char* message);
    void showFileName(const std::string& path);
    // The file becomes the open tileset's: its path, its folder for the tabs and the file
    // dialogs, the Import tab's name of it. True when the folder changed.
    bool takeFile(const std::string& path);

    // What Save .SET wrote, or would have written, when the tileset was last opened, made
    // new or saved; none before the first Open or New.
    std::optional<std::string> savedText_;
};
