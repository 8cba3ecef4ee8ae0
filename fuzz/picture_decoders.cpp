// Decodes the class library's pictures with the program's own decoders (ui/PictureDecoders):
// the first input byte picks an icon, a metafile or a JPEG image (in the order of
// PictureKind), the rest is the file. Only the decoders' error may escape, and a loaded
// picture has all its rows. Metafiles are drawn in the helper process, whose coverage the
// fuzzer does not see: it follows the checks made before and the reading of the answer.
#include "platform/Bitmap.h"
#include "ui/PictureDecoders.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Qt SVG draws text with the fonts of a Gui application.
    static int argc = 1;
    static char name[] = "fuzz_picture_decoders";
    static char* argv[] = {name, nullptr};
    static const bool started = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});   // libjpeg's warnings
        return new QGuiApplication(argc, argv) != nullptr;
    }();
    static QtPictureDecoders decoders;
    if (size == 0 || !started)
        return 0;
    const PictureKind kinds[] = {PictureKind::Icon, PictureKind::Metafile, PictureKind::JPEG};
    Bitmap bitmap;
    try {
        decoders.Decode(kinds[data[0] % 3], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), bitmap);
    } catch (const EInvalidGraphic&) {
    }
    for (uint32_t y = 0; !bitmap.Empty() && y < bitmap.Height(); ++y)
        if (!bitmap.ScanLine(y))
            std::abort();
    return 0;
}
