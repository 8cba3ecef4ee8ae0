#include "ui/DlgTextChange.h"

#include "ui/DialogWindow.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form5", "Textures Selection", 540, 420);
}
