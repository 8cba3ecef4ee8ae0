#include "ui/PictureDecoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ByteIO.h"
#include "platform/Sizes.h"

// Last: libwmf's headers define short macros (U8, U16, ...) that our headers would trip on.
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace {

// Metafiles are drawn at the screen resolution the class library assumes.
constexpr double kScreenDpi = 96;

[[noreturn]] void invalid(const char* format, const QString& why = {})
{
    std::string text = std::string("Cannot load image. Invalid or unexpected ") + format + " image format.";
    if (!why.isEmpty())
        text += " (" + why.toStdString() + ")";
    throw EInvalidGraphic(text);
}

QImage readWithQt(std::string_view bytes, const char* qtFormat, const char* format, bool largest)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoTransform(false);   // the class library shows pixels as stored
    QImage best = reader.read();
    // An icon file holds the same picture in several sizes: the largest is taken, the
    // first of those equally large.
    for (int i = 1; largest && i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        QImage next = reader.read();
        if (!next.isNull() && (best.isNull() || qint64(next.width()) * next.height() > qint64(best.width()) * best.height()))
            best = next;
    }
    if (best.isNull())
        invalid(format, reader.errorString());
    return best;
}

// A metafile's own size in whole pixels, refused when no picture may be that large.
QSize pictureSize(double width, double height, const char* format)
{
    const double w = std::round(width), h = std::round(height);
    if (!(w >= 1 && h >= 1 && w <= 32767 && h <= 32767) || !CheckedProduct({uint64_t(w), uint64_t(h), 4}, MaxImageBytes))
        invalid(format, QStringLiteral("a size of %1 x %2 pixels").arg(width).arg(height));
    return QSize(int(w), int(h));
}

// libwmf and libemf2svg are old C code that a damaged file can crash or keep busy (libwmf
// does crash on some damaged text records): they run in a child process, so that such a
// file costs only its picture. The child sends what the work made, or the message of the
// EInvalidGraphic it raised (with exit status 2); a crash, any other failure or a child
// still busy after the time limit is a picture that cannot be loaded.
QByteArray isolated(const std::function<QByteArray()>& work, const char* format)
{
    constexpr auto kLimit = std::chrono::seconds(20);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)   // no other program started meanwhile keeps it open
        invalid(format, QStringLiteral("no pipe to a helper process"));
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        QByteArray out;
        int status = 0;
        try {
            out = work();
        } catch (const EInvalidGraphic& e) {
            out = e.what(), status = 2;
        } catch (...) {
            _exit(3);
        }
        for (qsizetype at = 0; at < out.size();) {
            const ssize_t n = write(pipeEnds[1], out.constData() + at, std::size_t(out.size() - at));
            if (n <= 0)
                _exit(3);
            at += n;
        }
        _exit(status);   // no exit handlers: the parent's state is the parent's
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        invalid(format, QStringLiteral("no helper process"));
    }
    QByteArray result;
    bool stopped = false;
    QString why = QStringLiteral("the decoder took too long");
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    for (char buffer[65536];;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{pipeEnds[0], POLLIN, 0};
        const int polled = left.count() > 0 ? poll(&ready, 1, int(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        const ssize_t n = polled > 0 ? read(pipeEnds[0], buffer, sizeof buffer) : -1;
        if (polled > 0 && n < 0 && errno == EINTR)
            continue;
        if (n < 0 || uint64_t(result.size()) + uint64_t(n) > MaxImageBytes) {
            stopped = true;
            if (n > 0)
                why = QStringLiteral("the decoder made too much");
            break;
        }
        if (n == 0)
            break;
        result.append(buffer, n);
    }
    close(pipeEnds[0]);
    if (stopped)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!stopped && WIFEXITED(status) && WEXITSTATUS(status) == 2)
        throw EInvalidGraphic(result.toStdString());
    if (stopped || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        invalid(format, stopped ? why : QStringLiteral("the decoder failed"));
    return result;
}

// Enhanced metafiles: libemf2svg writes the records as SVG in the units of the reference
// device, Qt SVG draws the picture frame of the header at its size in pixels.
QImage drawEnhancedMetafile(std::string_view bytes)
{
    const char* format = "Windows enhanced metafile";
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    auto i32 = [&](std::size_t at) { return double(int32_t(LoadU32LE(p + at))); };
    const double boundsLeft = i32(8), boundsTop = i32(12);
    const double frameLeft = i32(24), frameTop = i32(28), frameRight = i32(32), frameBottom = i32(36);
    const double devicePixelsX = i32(72), devicePixelsY = i32(76), deviceMmX = i32(80), deviceMmY = i32(84);
    // The frame is in hundredths of a millimetre.
    QImage image(pictureSize((frameRight - frameLeft) * kScreenDpi / 2540, (frameBottom - frameTop) * kScreenDpi / 2540, format),
                 QImage::Format_RGB32);
    if (image.isNull())
        invalid(format, QStringLiteral("out of memory"));
    image.fill(Qt::white);   // what nothing covers

    const QByteArray document = isolated(
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
            return QByteArray(svg, qsizetype(length));
        },
        format);
    QSvgRenderer renderer(document);
    if (!renderer.isValid())
        invalid(format);
    if (devicePixelsX > 0 && devicePixelsY > 0 && deviceMmX > 0 && deviceMmY > 0) {
        // The frame in the device's pixels, where the drawing's bounds start at 0.
        const double sx = devicePixelsX / (deviceMmX * 100), sy = devicePixelsY / (deviceMmY * 100);
        renderer.setViewBox(QRectF(frameLeft * sx - boundsLeft, frameTop * sy - boundsTop,
                                   (frameRight - frameLeft) * sx, (frameBottom - frameTop) * sy));
    }
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    return image;
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
QByteArray windowsMetafileAsPng(std::string_view bytes)
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
    QByteArray png;
    wmf_gd_t* device = WMF_GD_GetData(wmf.Api());
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = [](void* context, char* buffer, int length) {
        static_cast<QByteArray*>(context)->append(buffer, length);
        return length;
    };
    device->bbox = box;
    device->width = unsigned(size.width());
    device->height = unsigned(size.height());
    if (!(device->flags & WMF_GD_SUPPORTS_PNG) || wmf_play(wmf.Api(), 0, &box) != wmf_E_None || png.isEmpty())
        invalid(format);
    return png;
}

QImage drawWindowsMetafile(std::string_view bytes)
{
    const QImage image = QImage::fromData(isolated([&] { return windowsMetafileAsPng(bytes); }, "Windows metafile"), "PNG");
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

void QtPictureDecoders::Decode(PictureKind kind, std::string_view bytes, Bitmap& bitmap)
{
    switch (kind) {
    case PictureKind::Icon: BitmapFromImage(readWithQt(bytes, "ico", "Windows icon", true), bitmap); break;
    case PictureKind::JPEG: BitmapFromImage(readWithQt(bytes, "jpeg", "JPEG", false), bitmap); break;
    case PictureKind::Metafile:
        BitmapFromImage(isEnhancedMetafile(bytes) ? drawEnhancedMetafile(bytes) : drawWindowsMetafile(bytes), bitmap);
        break;
    }
}

void InstallPictureDecoders()
{
    static QtPictureDecoders decoders;
    SetAppPictureDecoders(&decoders);
}
