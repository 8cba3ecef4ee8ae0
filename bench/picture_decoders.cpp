// The class library's decoders (ui/PictureDecoders) over files made to keep them busy: an
// enhanced metafile of 3,000 full-frame rectangles in an 8000 x 8000 frame, an icon whose
// 1,000 directory entries all point at one 4000 x 4000 PNG, and a 4000 x 4000 progressive
// JPEG whose last scan is repeated to 20,000 scans. Each is decoded once an iteration, loaded
// or refused; the counters give the peak memory of this process while it decodes (the file
// made before is left out) and of the largest helper process (run one benchmark a process,
// --benchmark_filter, for the helper's peak of that one alone).
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include "platform/Bitmap.h"
#include "ui/PictureDecoders.h"

namespace {

void put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += char(v >> (8 * i));
}

void put16(std::string& s, uint16_t v)
{
    s += char(v), s += char(v >> 8);
}

// One record: type, size, then the 32-bit fields.
void record(std::string& emf, uint32_t type, std::initializer_list<uint32_t> fields)
{
    put32(emf, type);
    put32(emf, uint32_t(8 + 4 * fields.size()));
    for (uint32_t f : fields)
        put32(emf, f);
}

// side x side pixels at 96 an inch (a reference device of 960 pixels in 254 mm), covered
// count times by a rectangle of a brush of its own.
std::string rectanglesMetafile(uint32_t side, uint32_t count)
{
    const uint32_t frame = uint32_t((uint64_t(side) * 2540 + 48) / 96);   // in 0.01 mm
    std::string emf;
    record(emf, 1, {0, 0, side - 1, side - 1, 0, 0, frame, frame, 0x464D4520, 0x10000, 0, 0, 2, 0, 0, 0, 960, 960, 254, 254});
    for (uint32_t i = 0; i < count; ++i) {
        record(emf, 39, {1, 0, 0x00102030u * (i % 8), 0});   // a solid brush
        record(emf, 37, {1});                                  // selected
        record(emf, 43, {0, 0, side, side});
        record(emf, 40, {1});                                  // and deleted
    }
    record(emf, 14, {0, 16, 20});
    const uint32_t size = uint32_t(emf.size());
    emf.replace(48, 8, std::string{char(size), char(size >> 8), char(size >> 16), char(size >> 24),
                                   char(count * 4 + 2), char((count * 4 + 2) >> 8), 0, 0});
    return emf;
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        std::abort();
    return bytes;
}

QImage flat(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(qRgb(90, 140, 200));
    return image;
}

std::string manyEntryIcon(int side, uint16_t entries)
{
    const QByteArray png = encoded(flat(side), "PNG");
    std::string ico;
    put16(ico, 0), put16(ico, 1), put16(ico, entries);
    for (uint16_t i = 0; i < entries; ++i) {
        ico += std::string(4, '\0');   // 256 x 256 by the directory, no colour table
        put16(ico, 1), put16(ico, 32);
        put32(ico, uint32_t(png.size()));
        put32(ico, 6 + 16u * entries);
    }
    return ico + png.toStdString();
}

std::string manyScanJpeg(int side, int scans)
{
    const std::string jpeg = encoded(flat(side), "JPEG", true).toStdString();
    const std::size_t last = jpeg.rfind("\xFF\xDA"), end = jpeg.rfind("\xFF\xD9");
    if (last == std::string::npos || end == std::string::npos || end < last)
        std::abort();
    std::string out = jpeg.substr(0, last);
    for (int i = 0; i < scans; ++i)
        out += jpeg.substr(last, end - last);
    return out + "\xFF\xD9";
}

// This process's peak resident memory in MB since the last reset.
double peakMB(bool reset)
{
    if (reset)
        std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    for (std::string word; status >> word;)
        if (word == "VmHWM:" && status >> word)
            return std::stod(word) / 1024;
    return 0;
}

void decode(benchmark::State& state, PictureKind kind, const std::string& bytes)
{
    QtPictureDecoders decoders;
    std::string outcome;
    peakMB(true);
    for (auto _ : state) {
        Bitmap bitmap;
        try {
            decoders.Decode(kind, bytes, bitmap);
            outcome = "loaded " + std::to_string(bitmap.Width()) + " x " + std::to_string(bitmap.Height());
        } catch (const EInvalidGraphic& e) {
            outcome = e.what();
        }
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["file_KB"] = double(bytes.size()) / 1024;
    state.counters["peak_MB"] = peakMB(false);
    state.counters["helper_peak_MB"] = double(children.ru_maxrss) / 1024;
    state.SetLabel(outcome.substr(0, 120));
}

void RectanglesMetafile(benchmark::State& state)
{
    decode(state, PictureKind::Metafile, rectanglesMetafile(8000, 3000));
}
BENCHMARK(RectanglesMetafile)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void ThousandEntryIcon(benchmark::State& state)
{
    decode(state, PictureKind::Icon, manyEntryIcon(4000, 1000));
}
BENCHMARK(ThousandEntryIcon)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void ManyScanJpeg(benchmark::State& state)
{
    decode(state, PictureKind::JPEG, manyScanJpeg(4000, 20000));
}
BENCHMARK(ManyScanJpeg)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
