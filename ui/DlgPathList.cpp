#include "ui/DlgPathList.h"

#include "ui/DialogWindow.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form4", "Path Node List", 420, 320);
}
