#pragma once
// Chooses the texture that replaces a texture in the tileset's models: a game texture or a
// texture file of the tileset's folder, or any name typed.
#include <string>

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "ui/ImageView.h"
#include "ui/Widgets.h"
#include "ui/frm7.h"

class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    QGroupBox* Change;           // the texture to change
    TImage* Image1;
    QLabel* Panel1;
    QGroupBox* GroupBox1;        // "To"
    TImage* Image2;
    QLabel* Panel2;
    QLabel* StaticText1;
    QComboBox* ComboBox1;        // the game's tile textures
    QLabel* StaticText2;
    QComboBox* ComboBox2;        // texture files of the tileset's folder
    TLabeledEdit* LabeledEdit1;  // "New texture name"
    QPushButton* Button1;        // "Change !"
    QPushButton* Button2;        // "Cancel"

    // What "Change !" acts on, as the Files/Textures tab gave it.
    TextureChangeRequest Request;

    // Shows the dialog (modeless) for request with the caption, reloaded also when it is
    // already open.
    void Open(const TextureChangeRequest& request, const std::string& caption);

    void FormShow();
    void ComboBox1Select();
    void ComboBox2Select();
    void Image1Click(TImage* sender);
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TForm5* Form5;
