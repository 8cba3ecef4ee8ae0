#pragma once
#include <QDialog>

// A fixed dialog window without title-bar buttons, named and sized as the editor gives it.
void SetUpDialogWindow(QDialog* dialog, const char* name, const char* caption, int width, int height);
