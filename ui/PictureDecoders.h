#pragma once
// The decoders behind the class library's icons, JPEG images and metafiles
// (platform/SystemPictures.h): Qt's image reading for icons and JPEG, libwmf for Windows
// metafiles, libemf2svg and Qt SVG for enhanced metafiles. The metafiles are drawn in a
// helper process, so a file that crashes, hangs or bloats them is only a picture that
// cannot load.
#include <QImage>

#include <chrono>

#include "platform/SystemPictures.h"

class QtPictureDecoders : public PictureDecoders {
public:
    // A metafile not drawn within the time limit is refused. Qt's readers get the picture
    // cap as their allocation limit.
    explicit QtPictureDecoders(std::chrono::milliseconds timeLimit = std::chrono::seconds(20));
    void Decode(PictureKind kind, std::string_view bytes, Bitmap& bitmap) override;

private:
    std::chrono::milliseconds timeLimit_;
};

// Installs the program's decoders (once; later calls change nothing). The program calls it
// before any window is made, and the windows' creation makes sure of it.
void InstallPictureDecoders();

// The Qt image as our bitmap, pixel for pixel: indexed images as 8-bit indices with their
// colour table, grey ones as 8-bit indices into a grey ramp, images with alpha as 32 bits
// (not premultiplied), the rest as 24 bits. A null image makes an empty bitmap.
void BitmapFromImage(const QImage& image, Bitmap& bitmap);
