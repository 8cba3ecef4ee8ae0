#include "ui/DialogWindow.h"

void SetUpDialogWindow(QDialog* dialog, const char* name, const char* caption, int width, int height)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(QString::fromLatin1(caption));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setFixedSize(width, height);
    dialog->setModal(false);
}
