#include "ui/DlgRenamerHelp.h"

#include "ui/DialogWindow.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form6", "Files renamer infos", 580, 340);
}
