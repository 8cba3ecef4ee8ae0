#include "ui/SetBifOpen.h"

#include "gamedata/GameData.h"
#include "ui/App.h"
#include "ui/DialogWindow.h"
#include "ui/Widgets.h"
#include "ui/frm6.h"
#include "ui/mainfrm.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form2", "Open NWN Set File", 300, 400);
    ListBox1 = MakeNamed<QListWidget>(this, "ListBox1");
    ListBox1->setGeometry(8, 8, 284, 344);
    Button1 = MakeNamed<QPushButton>(this, "Button1", "Open");
    Button1->setGeometry(56, 362, 84, 28);
    Button2 = MakeNamed<QPushButton>(this, "Button2", "Cancel");
    Button2->setGeometry(160, 362, 84, 28);
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
}

void TForm2::showEvent(QShowEvent* e)
{
    FormShow();
    QDialog::showEvent(e);
}

void TForm2::FormShow()
{
    ListBox1->clear();
    QStringList names;
    for (const std::string& name : Game().BifResList.SetNames()) names << ToQt(name);
    ListBox1->addItems(names);
}

void TForm2::Button1Click()
{
    const QListWidgetItem* row = ListBox1->currentItem();
    if (!row || !row->isSelected()) return;
    Form1->Fram61->OpenArchivedSet(FromQt(row->text()));
    accept();
}

void TForm2::Button2Click()
{
    reject();
}
