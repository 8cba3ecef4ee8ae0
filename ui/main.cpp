// The editor's entry point: the application, its title, the windows in start-up order and
// the event loop.
#include "imaging/RasterGraphics.h"
#include "platform/Dialogs.h"
#include "ui/App.h"
#include "ui/PictureDecoders.h"
#include "ui/QtDialogs.h"
#include "ui/mainfrm.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QtDialogs dialogs;
    SetAppDialogs(&dialogs);
    try {
        // Every picture reader is registered, and the class library's pictures can be
        // decoded, before a window can ask for a preview.
        FileFormatList();
        InstallPictureDecoders();
        CreateWindows();
        Form1->show();
        app.exec();
    } catch (...) {
        ShowException(std::current_exception());
    }
    DestroyWindows();
    SetAppDialogs(nullptr);
    return 0;
}
