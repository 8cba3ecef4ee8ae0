#include "ui/PictureDecoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QThreadPool>

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ByteIO.h"
#include "platform/Process.h"
#include "platform/Sizes.h"

// Last: libwmf's headers define short macros (U8, U16, ...) that our headers would trip on.
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace {

// Metafiles are drawn at the screen resolution the class library assumes.
constexpr double kScreenDpi = 96;

// An icon's directory entries looked at: real icons hold a few dozen at most.
constexpr int kMaxIconEntries = 256;

// Progressive JPEG pictures of more scans are refused, as libjpeg-turbo's tools do on
// request: each scan goes over the whole picture again, and a few thousand of them keep
// libjpeg busy for minutes.
constexpr std::size_t kMaxJpegScans = 500;

// The address space the metafile helper may take beyond this process's: the picture, a copy
// or encoding of it, and room for the threads Qt starts to convert large images.
constexpr uint64_t kHelperAddressSpace = 6 * MaxImageBytes;

[[noreturn]] void invalid(const char* format, const QString& why = {})
{
    std::string text = std::string("Cannot load image. Invalid or unexpected ") + format + " image format.";
    if (!why.isEmpty())
        text += " (" + why.toStdString() + ")";
    throw EInvalidGraphic(text);
}

[[noreturn]] void tooLarge(double width, double height, const char* format)
{
    invalid(format, QStringLiteral("a size of %1 x %2 pixels").arg(width).arg(height));
}

// Whether the cap holds a picture of that size at four bytes a pixel, as Qt counts them.
bool withinCap(double width, double height)
{
    return width >= 0 && height >= 0 && CheckedProduct({uint64_t(width), uint64_t(height), 4}, MaxImageBytes);
}

// A metafile's own size in whole pixels, refused when no picture may be that large.
QSize pictureSize(double width, double height, const char* format)
{
    const double w = std::round(width), h = std::round(height);
    if (!(w >= 1 && h >= 1 && w <= 32767 && h <= 32767) || !withinCap(w, h))
        tooLarge(width, height, format);
    return QSize(int(w), int(h));
}

// Image number `image` of the file, through Qt's reader for the format.
QImage readWithQt(std::string_view bytes, const char* qtFormat, const char* format, int image = 0)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoTransform(false);   // the class library shows pixels as stored
    if (image > 0 && !reader.jumpToImage(image))
        invalid(format, reader.errorString());
    if (const QSize size = reader.size(); size.isValid() && !withinCap(size.width(), size.height()))
        tooLarge(size.width(), size.height(), format);
    QImage result = reader.read();
    if (result.isNull())
        invalid(format, reader.errorString());
    return result;
}

// The icon's entry to decode: the largest picture by the sizes of the directory (0 standing
// for what the entry's bitmap header says, as for Qt's reader) or of a PNG entry's header,
// the first of those equally large. Only that one is decoded: each may be large, and a
// directory may point many times at the same one.
int largestIconEntry(std::string_view bytes, const char* format)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 6)
        invalid(format);
    const int count = std::min<int>(LoadU16LE(p + 4), kMaxIconEntries);
    int best = -1;
    uint64_t bestWidth = 0, bestHeight = 0;
    for (int i = 0; i < count && 6 + 16 * std::size_t(i + 1) <= size; ++i) {
        const uint8_t* entry = p + 6 + 16 * i;
        const uint32_t offset = LoadU32LE(entry + 12);
        if (offset >= size)
            continue;
        const uint8_t* data = p + offset;
        const std::size_t left = size - offset;
        uint64_t w = entry[0], h = entry[1];
        if (left >= 24 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) {
            w = LoadU32BE(data + 16), h = LoadU32BE(data + 20);
        } else if (left >= 12) {
            w = w ? w : uint64_t(std::abs(int64_t(int32_t(LoadU32LE(data + 4)))));
            h = h ? h : uint64_t(std::abs(int64_t(int32_t(LoadU32LE(data + 8))))) / 2;
            if (w > 256 || h > 256)   // more than any bitmap entry holds: Qt decodes none such
                continue;
        } else {
            continue;
        }
        if (best < 0 || w * h > bestWidth * bestHeight)
            best = i, bestWidth = w, bestHeight = h;
    }
    if (best < 0)
        invalid(format);
    if (!withinCap(double(bestWidth), double(bestHeight)))
        tooLarge(double(bestWidth), double(bestHeight), format);
    return best;
}

// Refuses what would keep libjpeg busy or take more memory than the cap allows: more scans
// than kMaxJpegScans, or a picture of several scans (progressive ones always count so)
// whose coefficients, two bytes a sample kept for the whole picture until its last scan,
// pass the cap. The markers are walked as libjpeg meets them: segments stepped over by
// their lengths, anything else byte by byte up to the next marker, until the picture's end.
void checkJpegStream(std::string_view bytes, const char* format)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    std::size_t scans = 0;
    bool progressive = false;
    uint64_t width = 0, height = 0, coefficientBytes = 0;
    for (std::size_t at = 2; at + 4 <= bytes.size();) {
        const uint8_t marker = p[at + 1];
        if (p[at] != 0xFF || marker == 0xFF || marker == 0 || marker == 1 || (marker >= 0xD0 && marker <= 0xD8)) {
            ++at;
            continue;
        }
        if (marker == 0xD9)
            break;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 10 <= bytes.size() && at + 10 + 3 * std::size_t(p[at + 9]) <= bytes.size()) {
            progressive = (marker & 3) == 2;
            height = LoadU16BE(p + at + 5), width = LoadU16BE(p + at + 7);
            auto factor = [&](std::size_t c, int shift) { return uint64_t(p[at + 11 + 3 * c] >> shift & 15); };
            uint64_t hMax = 1, vMax = 1, blocks = 0;
            for (std::size_t c = 0; c < p[at + 9]; ++c)
                hMax = std::max(hMax, factor(c, 4)), vMax = std::max(vMax, factor(c, 0));
            for (std::size_t c = 0; c < p[at + 9]; ++c)   // whole units of hMax x vMax blocks, as libjpeg keeps them
                blocks += (width + 8 * hMax - 1) / (8 * hMax) * factor(c, 4) * ((height + 8 * vMax - 1) / (8 * vMax)) * factor(c, 0);
            coefficientBytes = blocks * 128;
        }
        if (marker == 0xDA && ++scans > kMaxJpegScans)
            invalid(format, QStringLiteral("more than %1 scans").arg(kMaxJpegScans));
        if (marker == 0xDA && (progressive || scans > 1) && coefficientBytes > MaxImageBytes)
            tooLarge(double(width), double(height), format);
        at += 2 + LoadU16BE(p + at + 2);
    }
}

// libwmf and libemf2svg are old C code that a damaged file can crash, keep busy or make ask
// for gigabytes (libwmf does all three): they run in a helper process, so that such a file
// costs only its picture. The helper sends what the work made, or the message of the
// EInvalidGraphic it raised; a crash, any other failure, or a helper still busy after the
// time limit is a picture that cannot be loaded.
std::string isolated(const std::function<std::string()>& work, const char* format, std::chrono::milliseconds limit)
{
    // Qt hands the conversion of large images to its thread pool. A pool thread idle here
    // would not exist in the helper, which would wait for it in vain: the pool lets its
    // threads go first.
    QThreadPool::globalInstance()->waitForDone(2000);
    ChildResult result = RunInChild(work, limit, MaxImageBytes, kHelperAddressSpace);
    switch (result.outcome) {
    case ChildOutcome::Done: return std::move(result.output);
    case ChildOutcome::Refused: throw EInvalidGraphic(result.output);
    case ChildOutcome::TooMuch: invalid(format, QStringLiteral("the decoder made too much"));
    case ChildOutcome::TimedOut: invalid(format, QStringLiteral("the decoder took too long"));
    default: invalid(format, QStringLiteral("the decoder failed"));
    }
}

// Enhanced metafiles: libemf2svg writes the records as SVG in the units of the reference
// device, Qt SVG draws the picture frame of the header at its size in pixels. Both run in
// the helper, drawing as much as the records ask being no quicker than converting them;
// it sends the picture's pixels, the size being known here. Nothing is allocated for the
// picture before libemf2svg and Qt SVG have taken the file.
QImage drawEnhancedMetafile(std::string_view bytes, std::chrono::milliseconds limit, std::string& pixels)
{
    const char* format = "Windows enhanced metafile";
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    auto i32 = [&](std::size_t at) { return double(int32_t(LoadU32LE(p + at))); };
    const double boundsLeft = i32(8), boundsTop = i32(12);
    const double frameLeft = i32(24), frameTop = i32(28), frameRight = i32(32), frameBottom = i32(36);
    const double devicePixelsX = i32(72), devicePixelsY = i32(76), deviceMmX = i32(80), deviceMmY = i32(84);
    // The frame is in hundredths of a millimetre.
    const QSize size = pictureSize((frameRight - frameLeft) * kScreenDpi / 2540, (frameBottom - frameTop) * kScreenDpi / 2540, format);
    const std::size_t rowBytes = std::size_t(size.width()) * 4, pictureBytes = rowBytes * std::size_t(size.height());
    pixels = isolated(
        [&] {
            generatorOptions options{};
            char noNamespace[] = "";
            options.nameSpace = noNamespace;
            options.svgDelimiter = true;
            options.emfplus = true;
            std::vector<char> data(bytes.begin(), bytes.end());   // the converter takes a writable buffer
            char* svg = nullptr;
            size_t length = 0;
            if (!emf2svg(data.data(), data.size(), &svg, &length, &options) || !svg)
                invalid(format);
            QSvgRenderer renderer(QByteArray(svg, qsizetype(length)));
            if (!renderer.isValid())
                invalid(format);
            if (devicePixelsX > 0 && devicePixelsY > 0 && deviceMmX > 0 && deviceMmY > 0) {
                // The frame in the device's pixels, where the drawing's bounds start at 0.
                const double sx = devicePixelsX / (deviceMmX * 100), sy = devicePixelsY / (deviceMmY * 100);
                renderer.setViewBox(QRectF(frameLeft * sx - boundsLeft, frameTop * sy - boundsTop,
                                           (frameRight - frameLeft) * sx, (frameBottom - frameTop) * sy));
            }
            std::string out(pictureBytes, '\0');
            QImage image(reinterpret_cast<uchar*>(out.data()), size.width(), size.height(), qsizetype(rowBytes),
                         QImage::Format_RGB32);
            image.fill(Qt::white);   // what nothing covers
            QPainter painter(&image);
            renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
            return out;
        },
        format, limit);
    if (pixels.size() != pictureBytes)
        invalid(format, QStringLiteral("the decoder failed"));
    return QImage(reinterpret_cast<const uchar*>(pixels.data()), size.width(), size.height(), qsizetype(rowBytes),
                  QImage::Format_RGB32);
}

// libwmf with a metafile opened and scanned, closed whatever happens. The metafile's bytes
// stay alive with it.
class WmfSession {
public:
    explicit WmfSession(std::string_view bytes) : data_(bytes.begin(), bytes.end())
    {
        wmfAPI_Options options{};
        options.function = wmf_gd_function;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        started_ = ok_ = wmf_api_create(&api_, flags, &options) == wmf_E_None;
        if (!ok_)
            return;
        open_ = ok_ = wmf_mem_open(api_, data_.data(), long(data_.size())) == wmf_E_None;
        ok_ = ok_ && wmf_scan(api_, 0, &bounds_) == wmf_E_None;
    }
    ~WmfSession()
    {
        if (open_)
            wmf_mem_close(api_);
        if (api_)
            wmf_api_destroy(api_);
    }
    WmfSession(const WmfSession&) = delete;
    WmfSession& operator=(const WmfSession&) = delete;

    // libwmf starts only when it finds its fonts.
    bool Started() const { return started_; }
    bool Ok() const { return ok_; }
    wmfAPI* Api() const { return api_; }
    // Where libwmf found the drawing, in its device units.
    const wmfD_Rect& Bounds() const { return bounds_; }

private:
    std::vector<unsigned char> data_;
    wmfAPI* api_ = nullptr;
    bool started_ = false, open_ = false, ok_ = false;
    wmfD_Rect bounds_{};
};

constexpr std::size_t kPlaceableHeader = 22;

// Where libwmf puts a point of a placeable metafile's units: the centre of what it finds
// in a metafile of the file's headers, its mapping records (map mode, window and viewport)
// and one pixel at the point. libwmf itself tells only where the drawing lies.
std::optional<wmfD_Coord> devicePoint(std::string_view bytes, const std::string& mapping, int16_t x, int16_t y)
{
    const std::size_t headers = kPlaceableHeader + 18;
    std::string file(bytes.substr(0, headers));
    file += mapping;
    const unsigned char pixel[] = {7, 0, 0, 0, 0x1F, 0x04, 0, 0, 0, 0, uint8_t(y), uint8_t(uint16_t(y) >> 8),
                                   uint8_t(x), uint8_t(uint16_t(x) >> 8)};
    file.append(reinterpret_cast<const char*>(pixel), sizeof pixel);
    file.append("\3\0\0\0\0\0", 6);   // the last record
    auto* h = reinterpret_cast<unsigned char*>(file.data()) + kPlaceableHeader;
    const uint32_t words = uint32_t(file.size() - kPlaceableHeader) / 2;
    for (int i = 0; i < 4; ++i) {
        h[6 + i] = uint8_t(words >> (8 * i));   // the file's size and its largest record, in words
        h[12 + i] = uint8_t(words >> (8 * i));
    }
    WmfSession probe(file);
    if (!probe.Ok())
        return std::nullopt;
    const wmfD_Rect& b = probe.Bounds();
    return wmfD_Coord{(b.TL.x + b.BR.x) / 2, (b.TL.y + b.BR.y) / 2};
}

// The placeable bounding box where libwmf draws it; null when that cannot be told.
std::optional<wmfD_Rect> placeableArea(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    std::string mapping;
    for (std::size_t at = kPlaceableHeader + std::size_t(LoadU16LE(p + kPlaceableHeader + 2)) * 2; at + 6 <= bytes.size();) {
        const uint64_t size = uint64_t(LoadU32LE(p + at)) * 2;
        const uint16_t function = LoadU16LE(p + at + 4);
        if (function == 0 || size < 6 || size > bytes.size() - at)
            break;
        switch (function) {
        case 0x0103: case 0x020B: case 0x020C: case 0x020D: case 0x020E:   // map mode, window, viewport
        case 0x020F: case 0x0211: case 0x0410: case 0x0412: mapping += bytes.substr(at, std::size_t(size)); break;
        default: break;
        }
        at += std::size_t(size);
    }
    auto corner = [&](std::size_t at) { return devicePoint(bytes, mapping, int16_t(LoadU16LE(p + at)), int16_t(LoadU16LE(p + at + 2))); };
    const auto first = corner(6), second = corner(10);
    if (!first || !second)
        return std::nullopt;
    wmfD_Rect area{};
    area.TL.x = std::min(first->x, second->x), area.TL.y = std::min(first->y, second->y);
    area.BR.x = std::max(first->x, second->x), area.BR.y = std::max(first->y, second->y);
    if (!(area.BR.x > area.TL.x && area.BR.y > area.TL.y))
        return std::nullopt;
    return area;
}

// Windows metafiles: libwmf draws them, as PNG. A placeable metafile is drawn at the size
// of its bounding box in its units per inch, the box filling the picture; libwmf works out
// the size of one without that header and draws the bounds of what it holds.
std::string windowsMetafileAsPng(std::string_view bytes)
{
    const char* format = "Windows metafile";
    WmfSession wmf(bytes);
    if (!wmf.Started())
        throw EInvalidGraphic("Cannot load image. libwmf, which draws Windows metafiles, could not start: its fonts "
                              "(Debian package fonts-urw-base35) may be missing.");
    if (!wmf.Ok())
        invalid(format);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    wmfD_Rect box = wmf.Bounds();
    double width = 0, height = 0;
    if (bytes.size() >= kPlaceableHeader + 18 && LoadU32LE(p) == 0x9AC6CDD7u && LoadU16LE(p + 14) != 0) {
        const double inch = LoadU16LE(p + 14);
        width = std::abs(int16_t(LoadU16LE(p + 10)) - int16_t(LoadU16LE(p + 6))) * kScreenDpi / inch;
        height = std::abs(int16_t(LoadU16LE(p + 12)) - int16_t(LoadU16LE(p + 8))) * kScreenDpi / inch;
        if (auto area = placeableArea(bytes))
            box = *area;
    } else {
        unsigned int w = 0, h = 0;
        if (wmf_display_size(wmf.Api(), &w, &h, kScreenDpi, kScreenDpi) != wmf_E_None)
            invalid(format);
        width = w, height = h;
    }
    const QSize size = pictureSize(width, height, format);
    // libwmf writes what it drew as PNG for Qt to read: the image it would hand over
    // instead it never frees.
    std::string png;
    wmf_gd_t* device = WMF_GD_GetData(wmf.Api());
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = [](void* context, char* buffer, int length) {
        static_cast<std::string*>(context)->append(buffer, std::size_t(length));
        return length;
    };
    device->bbox = box;
    device->width = unsigned(size.width());
    device->height = unsigned(size.height());
    if (!(device->flags & WMF_GD_SUPPORTS_PNG) || wmf_play(wmf.Api(), 0, &box) != wmf_E_None || png.empty())
        invalid(format);
    return png;
}

QImage drawWindowsMetafile(std::string_view bytes, std::chrono::milliseconds limit)
{
    const std::string png = isolated([&] { return windowsMetafileAsPng(bytes); }, "Windows metafile", limit);
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "PNG");
    if (image.isNull())
        invalid("Windows metafile");
    return image.convertToFormat(QImage::Format_RGB32);
}

bool isEnhancedMetafile(std::string_view bytes)
{
    return bytes.size() >= 88 && LoadU32LE(reinterpret_cast<const uint8_t*>(bytes.data())) == 1 &&
           bytes.substr(40, 4) == " EMF";
}

} // namespace

void BitmapFromImage(const QImage& source, Bitmap& bitmap)
{
    bitmap.Clear();
    if (source.isNull())
        return;
    QImage image = source;
    const bool grey = image.format() == QImage::Format_Grayscale8;
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_Indexed8);
    const bool indexed = grey || image.format() == QImage::Format_Indexed8;
    PixelFormat format = PixelFormat::Bits24;
    if (indexed) {
        format = PixelFormat::Bits8;
        LogicalPalette palette;
        const int colours = grey ? 256 : std::min<int>(int(image.colorCount()), 256);
        for (int i = 0; i < colours; ++i) {
            const QRgb c = grey ? qRgb(i, i, i) : image.color(i);
            palette.entries.push_back({uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)), 0});
        }
        bitmap.SetPalette(Palette::Create(palette));
    } else if (image.hasAlphaChannel()) {
        format = PixelFormat::Bits32;
        image = image.convertToFormat(QImage::Format_ARGB32);
    } else {
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(uint32_t(image.width()), uint32_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* out = bitmap.ScanLine(uint32_t(y));
        if (indexed) {
            std::memcpy(out, image.constScanLine(y), std::size_t(image.width()));
            continue;
        }
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            *out++ = uint8_t(qBlue(in[x]));
            *out++ = uint8_t(qGreen(in[x]));
            *out++ = uint8_t(qRed(in[x]));
            if (format == PixelFormat::Bits32)
                *out++ = uint8_t(qAlpha(in[x]));
        }
    }
}

QtPictureDecoders::QtPictureDecoders(std::chrono::milliseconds timeLimit) : timeLimit_(timeLimit)
{
    // Qt's readers refuse pictures past a limit of their own (128 MB): ours is the one cap.
    QImageReader::setAllocationLimit(int(MaxImageBytes >> 20));
}

void QtPictureDecoders::Decode(PictureKind kind, std::string_view bytes, Bitmap& bitmap)
{
    std::string pixels;   // what an enhanced metafile's picture is drawn from
    switch (kind) {
    case PictureKind::Icon:
        BitmapFromImage(readWithQt(bytes, "ico", "Windows icon", largestIconEntry(bytes, "Windows icon")), bitmap);
        break;
    case PictureKind::JPEG:
        checkJpegStream(bytes, "JPEG");
        BitmapFromImage(readWithQt(bytes, "jpeg", "JPEG"), bitmap);
        break;
    case PictureKind::Metafile:
        BitmapFromImage(isEnhancedMetafile(bytes) ? drawEnhancedMetafile(bytes, timeLimit_, pixels)
                                                  : drawWindowsMetafile(bytes, timeLimit_),
                        bitmap);
        break;
    }
}

void InstallPictureDecoders()
{
    static QtPictureDecoders decoders;
    SetAppPictureDecoders(&decoders);
}
