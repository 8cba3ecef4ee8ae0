#pragma once
// The general settings frame at the bottom of the main window: the tileset's [GENERAL] and
// [GRASS] settings, and the program's file commands (Open, New, Save .SET, Save .ITP,
// Options) with the popup menu.
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
    bool fail(MsgKind kind, const char* message);
};
