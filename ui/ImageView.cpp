#include "ui/ImageView.h"

#include <QMouseEvent>
#include <QPixmap>
#include <exception>

#include "platform/Picture.h"

namespace {
// The colour table of an indexed picture: as many entries as its bits can index.
QList<QRgb> colourTable(const Bitmap& bitmap, int bits)
{
    const int size = 1 << bits;
    const auto& entries = bitmap.GetPalette().Entries();
    QList<QRgb> table(size, qRgb(0, 0, 0));
    for (int i = 0; i < size; ++i) {
        if (entries.empty()) {
            const int grey = i * 255 / (size - 1);
            table[i] = qRgb(grey, grey, grey);
        } else if (i < int(entries.size())) {
            table[i] = qRgb(entries[std::size_t(i)].red, entries[std::size_t(i)].green, entries[std::size_t(i)].blue);
        }
    }
    return table;
}

QImage indexedImage(const Bitmap& bitmap, int bits)
{
    const int w = int(bitmap.Width()), h = int(bitmap.Height());
    QImage image(w, h, QImage::Format_Indexed8);
    if (image.isNull()) return image;
    image.setColorTable(colourTable(bitmap, bits));
    const int perByte = 8 / bits, mask = (1 << bits) - 1;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = bitmap.ScanLine(uint32_t(y));
        uchar* out = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            // The leftmost pixel sits in the highest bits of its byte.
            const int shift = 8 - bits * (x % perByte + 1);
            out[x] = uchar((in[x / perByte] >> shift) & mask);
        }
    }
    return image;
}

// A channel of n bits widened to eight.
int widen(int v, int n)
{
    return (v << (8 - n)) | (v >> (2 * n - 8));
}

QImage colourImage(const Bitmap& bitmap, PixelFormat format)
{
    const int w = int(bitmap.Width()), h = int(bitmap.Height());
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = bitmap.ScanLine(uint32_t(y));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (format) {
            case PixelFormat::Bits15:
            case PixelFormat::Bits16: {
                const int v = in[2 * x] | in[2 * x + 1] << 8;
                const int green = format == PixelFormat::Bits16 ? widen((v >> 5) & 0x3F, 6) : widen((v >> 5) & 0x1F, 5);
                const int red = format == PixelFormat::Bits16 ? widen(v >> 11, 5) : widen((v >> 10) & 0x1F, 5);
                out[x] = qRgb(red, green, widen(v & 0x1F, 5));
                break;
            }
            case PixelFormat::Bits24: out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]); break;
            default: out[x] = qRgb(in[4 * x + 2], in[4 * x + 1], in[4 * x]); break;
            }
        }
    }
    return image;
}
}

QImage ImageFromBitmap(const Bitmap& bitmap)
{
    if (bitmap.Empty()) return {};
    switch (PixelFormat f = bitmap.GetPixelFormat()) {
    case PixelFormat::Bits1:
    case PixelFormat::Bits4:
    case PixelFormat::Bits8: return indexedImage(bitmap, BitsPerPixel(f));
    case PixelFormat::Bits15:
    case PixelFormat::Bits16:
    case PixelFormat::Bits24:
    case PixelFormat::Bits32: return colourImage(bitmap, f);
    default: return {};
    }
}

TImage::TImage(QWidget* parent, const char* name) : QLabel(parent)
{
    setObjectName(QString::fromLatin1(name));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::LoadPicture(const std::string& path)
{
    // Read whole before anything is shown, so a failing reader leaves the box as it was.
    std::unique_ptr<Bitmap> picture = ::LoadPicture(path);
    ShowBitmap(*picture);
}

void TImage::ClearPicture()
{
    image_ = QImage();
    clear();
    setToolTip({});
}

void TImage::SetStretch(bool on)
{
    setScaledContents(on);
}

void TImage::ShowImage(const QImage& image)
{
    ClearPicture();
    image_ = image;
    if (!image_.isNull()) setPixmap(QPixmap::fromImage(image_));
}

void TImage::ShowNote(const QString& text, const QString& details)
{
    ClearPicture();
    setText(text);
    setToolTip(details);
}

void TImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick) OnClick();
    QLabel::mouseReleaseEvent(e);
}

bool ShowPreview(TImage* box, const std::function<void()>& load)
{
    try {
        load();
        return true;
    } catch (const std::exception& e) {
        box->ShowNote("Unreadable picture", QString::fromLocal8Bit(e.what()));
        return false;
    }
}
