#include "ui/SetBifOpen.h"

#include "ui/DialogWindow.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form2", "Open NWN Set File", 300, 400);
}
