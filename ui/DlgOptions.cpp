#include "ui/DlgOptions.h"

#include <QShowEvent>

#include "ui/App.h"
#include "ui/DialogWindow.h"
#include "ui/Widgets.h"
#include "ui/mainfrm.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form3", "Options", 454, 253);
    // The captions are long for a dialog this size.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);

    GroupBox2 = MakeNamed<QGroupBox>(this, "GroupBox2", "Importing Tiles and Group");
    GroupBox2->setGeometry(6, 8, 240, 196);
    RadioButton1 = MakeNamed<QRadioButton>(GroupBox2, "RadioButton1", "Copy files when importing");
    RadioButton1->setGeometry(8, 24, 228, 20);
    RadioButton2 = MakeNamed<QRadioButton>(GroupBox2, "RadioButton2", "Never copy files when importing");
    RadioButton2->setGeometry(8, 46, 228, 20);
    CheckBox1 = MakeNamed<QCheckBox>(GroupBox2, "CheckBox1", "Ask Confirmation");
    CheckBox1->setGeometry(26, 70, 210, 20);
    CheckBox3 = MakeNamed<QCheckBox>(GroupBox2, "CheckBox3", "No confirm on import ALL Tiles/Groups");
    CheckBox3->setGeometry(8, 102, 230, 20);
    CheckBox4 = MakeNamed<QCheckBox>(GroupBox2, "CheckBox4", "No confirm on import group tiles members");
    CheckBox4->setGeometry(8, 150, 230, 20);
    CheckBox6 = MakeNamed<QCheckBox>(GroupBox2, "CheckBox6", "No check for duplicate entries");
    CheckBox6->setGeometry(8, 126, 230, 20);

    GroupBox3 = MakeNamed<QGroupBox>(this, "GroupBox3", "Editing Tiles");
    GroupBox3->setGeometry(250, 8, 198, 196);
    RadioButton3 = MakeNamed<QRadioButton>(GroupBox3, "RadioButton3", "Delete files when delete a tile");
    RadioButton3->setGeometry(8, 24, 188, 20);
    RadioButton4 = MakeNamed<QRadioButton>(GroupBox3, "RadioButton4", "Never delete files");
    RadioButton4->setGeometry(8, 46, 188, 20);
    CheckBox2 = MakeNamed<QCheckBox>(GroupBox3, "CheckBox2", "Ask Confirmation");
    CheckBox2->setGeometry(26, 70, 170, 20);
    CheckBox5 = MakeNamed<QCheckBox>(GroupBox3, "CheckBox5", "No confirm on delete ALL tiles");
    CheckBox5->setGeometry(8, 102, 188, 20);

    Button1 = MakeNamed<QPushButton>(this, "Button1", "OK");
    Button1->setGeometry(280, 216, 80, 27);
    Button2 = MakeNamed<QPushButton>(this, "Button2", "Cancel");
    Button2->setGeometry(366, 216, 80, 27);

    RadioButton1->setChecked(true);
    CheckBox1->setChecked(true);
    CheckBox4->hide();
    RadioButton3->setChecked(true);
    CheckBox2->setChecked(true);

    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
    // A radio button's handler runs whenever it becomes checked, by code too.
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton2Click(); });
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton3Click(); });
    connect(RadioButton4, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton4Click(); });
}

void TForm3::showEvent(QShowEvent* e)
{
    // Reloaded from the options on every show, so abandoned changes never come back.
    if (!e->spontaneous()) {
        try {
            FormShow();
        } catch (...) {
            ShowException(std::current_exception());
        }
    }
    QDialog::showEvent(e);
}

void TForm3::FormShow()
{
    const EditorOptions& o = Form1->Options;
    if (o.NeverDelete) {
        RadioButton4->setChecked(true);
        CheckBox2->setEnabled(false);
    } else {
        RadioButton3->setChecked(true);
        CheckBox2->setEnabled(true);
    }
    CheckBox2->setChecked(!o.NeverDeleteConf);
    CheckBox6->setChecked(o.NeverCheckDuplicate);
    if (o.NeverCopy) {
        RadioButton2->setChecked(true);
        CheckBox1->setEnabled(false);
    } else {
        RadioButton1->setChecked(true);
        CheckBox1->setEnabled(true);
    }
    CheckBox1->setChecked(!o.NeverCopyConf);
    CheckBox3->setChecked(o.NeverConfOnAllImport);
    CheckBox4->setChecked(o.NeverConfOnGroupTiles);
    CheckBox5->setChecked(o.NeverConfOnAllDelete);
}

void TForm3::Button1Click()
{
    EditorOptions& o = Form1->Options;
    if (RadioButton1->isChecked()) {
        o.NeverCopy = false;
        o.NeverCopyConf = !CheckBox1->isChecked();
    } else {
        o.NeverCopy = true;
    }
    o.NeverConfOnAllImport = CheckBox3->isChecked();
    o.NeverConfOnGroupTiles = CheckBox4->isChecked();
    o.NeverCheckDuplicate = CheckBox6->isChecked();
    if (RadioButton3->isChecked()) {
        o.NeverDelete = false;
        o.NeverDeleteConf = !CheckBox2->isChecked();
    } else {
        o.NeverDelete = true;
    }
    o.NeverConfOnAllDelete = CheckBox5->isChecked();
    close();
}

void TForm3::Button2Click()
{
    close();
}

void TForm3::RadioButton1Click()
{
    CheckBox1->setEnabled(true);
}

void TForm3::RadioButton2Click()
{
    CheckBox1->setEnabled(false);
}

void TForm3::RadioButton3Click()
{
    CheckBox2->setEnabled(true);
}

void TForm3::RadioButton4Click()
{
    CheckBox2->setEnabled(false);
}
