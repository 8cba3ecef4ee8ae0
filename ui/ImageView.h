#pragma once
// Pictures in the editor: our bitmaps as Qt images, the image box of the tabs and dialogs,
// and the preview that keeps a damaged picture file from stopping what shows it.
#include <functional>
#include <string>

#include <QImage>
#include <QLabel>

#include "gamedata/GameViews.h"
#include "platform/Bitmap.h"
#include "platform/Sizes.h"

// The most pixels a picture is shown with: its 32-bit image and the pixmap drawn from it
// stay within the picture cap together.
inline constexpr uint64_t MaxShownPixels = MaxImageBytes / 8;

// The bitmap as a Qt image, pixel for pixel. 1-, 4- and 8-bit indices go through the
// palette (an index past its end is black; a bitmap without any palette shows its indices
// as a grey ramp, black to white); 15- and 16-bit colours are widened to eight bits a
// channel (the top bits repeated below, so full is 255); 24- and 32-bit ones are taken as
// they are, the 32-bit alpha ignored: the editor's pictures are shown opaque. A bitmap of
// more than maxPixels is shown scaled down by the smallest whole factor that brings it
// within them (every n-th pixel of every n-th row), so that no picture a file may hold
// takes the program's memory to be shown. A null image for an empty bitmap, one without a
// format, or one too large for Qt to hold.
QImage ImageFromBitmap(const Bitmap& bitmap, uint64_t maxPixels = MaxShownPixels);

// The image box: a label showing a picture at its own size (placed by the label's
// alignment, top left unless the owner says otherwise) or stretched to the whole box. It is
// the game-data layer's ImageBox, so its loaders show pictures in it.
class TImage : public QLabel, public ImageBox {
    Q_OBJECT
public:
    TImage(QWidget* parent, const char* name);

    // Through the picture registry (the file's extension picks the reader). A file the
    // reader cannot read raises its error and leaves the box as it was.
    void LoadPicture(const std::string& path) override;
    void ClearPicture() override;
    void SetStretch(bool on) override;
    bool Stretch() const { return hasScaledContents(); }

    void ShowBitmap(const Bitmap& bitmap) { ShowImage(ImageFromBitmap(bitmap)); }
    void ShowImage(const QImage& image);
    // The picture as shown: at its own size unless too large to show whole; null when the
    // box is empty.
    const QImage& Image() const { return image_; }
    // Empties the box and shows a short text in the picture's place.
    void ShowNote(const QString& text, const QString& details = {});

    // A left click on the box (the previews toggle their stretching with it).
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage image_;
};

// Runs load, which shows a picture in box (LoadPicture, or a game-data loader given the
// box). When a picture reader fails on a damaged file, the box is emptied and says
// "Unreadable picture" (the reader's message as its tool tip) and the error goes no
// further, so the rest of a tile or a dialog is still shown. False then, else true.
bool ShowPreview(TImage* box, const std::function<void()>& load);
