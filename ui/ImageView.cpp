#include "ui/ImageView.h"

#include <QMouseEvent>
#include <QPixmap>
#include <algorithm>
#include <exception>
#include <limits>

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

// Every step-th pixel of every step-th row of the bitmap, in an image of the given format.
struct Sampling {
    uint32_t step, width, height;
    explicit Sampling(const Bitmap& bitmap, uint64_t maxPixels) : step(1)
    {
        const uint64_t w = bitmap.Width(), h = bitmap.Height();
        auto shown = [&](uint64_t n) { return ((w + n - 1) / n) * ((h + n - 1) / n); };
        while (shown(step) > std::max<uint64_t>(maxPixels, 1)) ++step;
        width = uint32_t((w + step - 1) / step);
        height = uint32_t((h + step - 1) / step);
    }
    QImage image(QImage::Format format) const
    {
        // Sizes beyond what Qt holds give a null image.
        if (width > uint32_t(std::numeric_limits<int>::max()) || height > uint32_t(std::numeric_limits<int>::max()))
            return {};
        return QImage(int(width), int(height), format);
    }
};

QImage indexedImage(const Bitmap& bitmap, int bits, const Sampling& s)
{
    QImage image = s.image(QImage::Format_Indexed8);
    if (image.isNull()) return image;
    image.setColorTable(colourTable(bitmap, bits));
    const uint32_t perByte = 8 / uint32_t(bits), mask = (1u << bits) - 1;
    for (uint32_t y = 0; y < s.height; ++y) {
        const uint8_t* in = bitmap.ScanLine(y * s.step);
        uchar* out = image.scanLine(int(y));
        for (uint32_t x = 0, from = 0; x < s.width; ++x, from += s.step) {
            // The leftmost pixel sits in the highest bits of its byte.
            const uint32_t shift = 8 - uint32_t(bits) * (from % perByte + 1);
            out[x] = uchar((in[from / perByte] >> shift) & mask);
        }
    }
    return image;
}

// A channel of n bits widened to eight.
int widen(int v, int n)
{
    return (v << (8 - n)) | (v >> (2 * n - 8));
}

QImage colourImage(const Bitmap& bitmap, PixelFormat format, const Sampling& s)
{
    QImage image = s.image(QImage::Format_RGB32);
    if (image.isNull()) return image;
    const bool words = format == PixelFormat::Bits15 || format == PixelFormat::Bits16;
    const std::size_t stride = std::size_t(s.step) * (words ? 2 : format == PixelFormat::Bits24 ? 3 : 4);
    for (uint32_t y = 0; y < s.height; ++y) {
        const uint8_t* in = bitmap.ScanLine(y * s.step);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (uint32_t x = 0; x < s.width; ++x, in += stride) {
            if (words) {
                const int v = in[0] | in[1] << 8;
                const int green = format == PixelFormat::Bits16 ? widen((v >> 5) & 0x3F, 6) : widen((v >> 5) & 0x1F, 5);
                const int red = format == PixelFormat::Bits16 ? widen(v >> 11, 5) : widen((v >> 10) & 0x1F, 5);
                out[x] = qRgb(red, green, widen(v & 0x1F, 5));
            } else {
                out[x] = qRgb(in[2], in[1], in[0]);
            }
        }
    }
    return image;
}
}

QImage ImageFromBitmap(const Bitmap& bitmap, uint64_t maxPixels)
{
    if (bitmap.Empty()) return {};
    const Sampling sampling(bitmap, maxPixels);
    switch (PixelFormat f = bitmap.GetPixelFormat()) {
    case PixelFormat::Bits1:
    case PixelFormat::Bits4:
    case PixelFormat::Bits8: return indexedImage(bitmap, BitsPerPixel(f), sampling);
    case PixelFormat::Bits15:
    case PixelFormat::Bits16:
    case PixelFormat::Bits24:
    case PixelFormat::Bits32: return colourImage(bitmap, f, sampling);
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
