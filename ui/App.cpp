#include "ui/App.h"

#include <clocale>
#include <string>

#include "imaging/RasterGraphics.h"
#include "platform/Dialogs.h"
#include "ui/DlgOptions.h"
#include "ui/DlgPathList.h"
#include "ui/DlgRenamerHelp.h"
#include "ui/DlgTextChange.h"
#include "ui/PictureDecoders.h"
#include "ui/SetBifOpen.h"
#include "ui/mainfrm.h"

void ShowException(std::exception_ptr e)
{
    std::string text;
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        text = ex.what();
    } catch (...) {
    }
    try {
        AppDialogs().Message(MsgKind::Error, text, MsgButtons::Ok);
    } catch (...) {
        // A box that cannot be shown must not take the event loop down with it.
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(AppTitle));
    // Qt takes the user's locale for the C runtime; numbers in files and colour values
    // are always written and read with '.'.
    std::setlocale(LC_NUMERIC, "C");
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

void CreateWindows()
{
    // The windows show pictures from their first moment: every format is registered and
    // decodable by then, whoever starts them.
    FileFormatList();
    InstallPictureDecoders();
    // The main window sets Form1 itself, first thing, as frames may reach it while it is
    // being built.
    try {
        new TForm1();
    } catch (...) {
        // The half-built window is gone; leave no pointer to it behind.
        Form1 = nullptr;
        throw;
    }
    Form2 = new TForm2(Form1);
    Form3 = new TForm3(Form1);
    Form4 = new TForm4(Form1);
    Form5 = new TForm5(Form1);
    Form6 = new TForm6(Form1);
}

void DestroyWindows()
{
    delete Form1; // the dialogs are its children and go with it
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
}
