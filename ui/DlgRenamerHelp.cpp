#include "ui/DlgRenamerHelp.h"

#include "ui/App.h"
#include "ui/DialogWindow.h"
#include "ui/Widgets.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    SetUpDialogWindow(this, "Form6", "Files renamer infos", 580, 340);
    static const char* const lines[] = {
        "General infos :",
        "     - ALL the MDL,WOK,TGA and DDS files in the working directory will be processed.",
        "     - Minimap files are not renamed, never.",
        "     - If a MDL file can't be renamed, the associated wok file don't be renamed too.",
        "     - All models references in tiles list are changed accordingly.",
        "",
        "If \"skip bitmap line in MDL file\" is checked :",
        "     - Every ascii MDL file are processed, but bitmap references are NEVER changed.",
        "     - Every binary MDL file are not processed.",
        "If not :",
        "     - Every ascii and binary file are processed, all searched prefix occurence are changed.",
        "",
        "If \"Skip all TGA/DDS files\" is checked :",
        "     - No TGA and DDS textures files will be renamed.",
        "If not :",
        "     - All the TGA and DDS textures files will be renamed.",
        "     - Every ascii MDL file naming a renamed texture then names its new file, whatever",
        "       \"skip bitmap line in MDL file\" says; a binary one that names it is listed.",
    };
    QStringList text;
    for (const char* line : lines) text << QString::fromLatin1(line);
    Memo1 = MakeNamed<QPlainTextEdit>(this, "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(text.join('\n'));
    Memo1->setGeometry(8, 8, 564, 284);
    Button1 = MakeNamed<QPushButton>(this, "Button1", "Close");
    Button1->setGeometry(486, 302, 86, 28);
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
}

void TForm6::Button1Click()
{
    close();
}
