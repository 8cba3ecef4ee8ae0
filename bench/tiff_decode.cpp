// Decoding a 2048 x 2048 RGB TIFF, deflate with horizontal differencing and PackBits, with
// our reader and with libtiff side by side. libtiff writes both files at start; it reads
// them strip by strip (TIFFReadEncodedStrip: decoded, differencing undone) into a picture of
// blue-green-red rows, the layout our reader fills. Deflate is measured twice on libtiff's
// side: inflated by zlib, as our reader does, and by libdeflate, which Debian's libtiff
// takes for whole strips when it may.
#include "imaging/TIFF.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>

#ifdef TILVENNA_WITH_LIBTIFF
#include <tiffio.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#endif

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSize = 2048;

#ifdef TILVENNA_WITH_LIBTIFF
// A photograph-like picture: smooth gradients with a little noise (what differencing is
// for) beside flat patches (runs).
std::vector<uint8_t> picture()
{
    std::vector<uint8_t> rgb(std::size_t(kSize) * kSize * 3);
    std::mt19937 rng(42);
    for (uint32_t y = 0; y < kSize; ++y)
        for (uint32_t x = 0; x < kSize; ++x) {
            bool flat = ((x / 128) + (y / 128)) % 3 == 0;
            uint8_t* p = &rgb[(std::size_t(y) * kSize + x) * 3];
            for (int c = 0; c < 3; ++c)
                p[c] = flat ? uint8_t(60 * c + (x / 128) * 4) : uint8_t((x * (c + 1) + y * (3 - c)) / 16 + rng() % 6);
        }
    return rgb;
}

// libtiff writes the picture to a file of its own, whose bytes are then kept in memory.
std::string writeTiff(uint16_t compression, uint16_t predictor)
{
    static const std::vector<uint8_t> rgb = picture();
    std::string path = (std::filesystem::temp_directory_path() /
                        ("tilvenna-bench-" + std::to_string(getpid()) + "-" + std::to_string(compression) + ".tif"))
                           .string();
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (predictor != 1)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, predictor);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    for (uint32_t y = 0; y < kSize; ++y)
        TIFFWriteScanline(tif, const_cast<uint8_t*>(&rgb[std::size_t(y) * kSize * 3]), y, 0);
    TIFFClose(tif);
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    return bytes;
}

const std::string& deflateFile()
{
    static const std::string file = writeTiff(COMPRESSION_ADOBE_DEFLATE, PREDICTOR_HORIZONTAL);
    return file;
}

const std::string& packBitsFile()
{
    static const std::string file = writeTiff(COMPRESSION_PACKBITS, 1);
    return file;
}

// libtiff reading from memory.
struct Memory {
    const std::string* bytes;
    toff_t at = 0;
};

tmsize_t readProc(thandle_t h, void* buffer, tmsize_t size)
{
    auto* m = static_cast<Memory*>(h);
    tmsize_t n = std::min<tmsize_t>(size, tmsize_t(m->bytes->size() - std::min<toff_t>(m->at, m->bytes->size())));
    std::memcpy(buffer, m->bytes->data() + m->at, std::size_t(n));
    m->at += toff_t(n);
    return n;
}
tmsize_t writeProc(thandle_t, void*, tmsize_t) { return 0; }
toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto* m = static_cast<Memory*>(h);
    m->at = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m->at + offset : m->bytes->size() + offset;
    return m->at;
}
int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t h) { return static_cast<Memory*>(h)->bytes->size(); }
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

// Decodes the file into a new picture of blue, green and red rows, as a load makes one;
// false when libtiff fails.
bool decodeWithLibtiff(const std::string& file, std::vector<uint8_t>& bgr, bool zlib = true)
{
    bgr = std::vector<uint8_t>(std::size_t(kSize) * kSize * 3);
    Memory m{&file};
    TIFF* tif =
        TIFFClientOpen("bench", "rm", &m, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc, unmapProc);
    if (!tif)
        return false;
    if (zlib)
        TIFFSetField(tif, TIFFTAG_DEFLATE_SUBCODEC, DEFLATE_SUBCODEC_ZLIB);
    std::vector<uint8_t> strip(std::size_t(TIFFStripSize(tif)));
    uint32_t row = 0;
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
        tmsize_t got = TIFFReadEncodedStrip(tif, s, strip.data(), tmsize_t(strip.size()));
        const uint8_t* in = strip.data();
        for (tmsize_t done = 0; done + tmsize_t(kSize) * 3 <= got && row < kSize; done += kSize * 3, ++row) {
            uint8_t* out = &bgr[std::size_t(row) * kSize * 3];
            for (uint32_t x = 0; x < kSize; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
    }
    TIFFClose(tif);
    return row == kSize;
}

void decodeWithTilvenna(const std::string& file, TTIFFGraphic& g)
{
    ReadOnlyMemoryStream s(file);
    g.LoadFromStream(s);
}

// Both must decode the file to the same pixels for the times to mean anything.
bool sameResult(const std::string& file)
{
    std::vector<uint8_t> bgr;
    if (!decodeWithLibtiff(file, bgr))
        return false;
    try {
        TTIFFGraphic g;
        decodeWithTilvenna(file, g);
        for (uint32_t y = 0; y < kSize; ++y)
            if (std::memcmp(g.ScanLine(y), &bgr[std::size_t(y) * kSize * 3], std::size_t(kSize) * 3) != 0)
                return false;
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void libtiff(benchmark::State& state, const std::string& file, bool zlib = true)
{
    TIFFSetWarningHandler(nullptr);
    if (!sameResult(file)) {
        state.SkipWithError("the two decoders disagree or one of them failed");
        return;
    }
    for (auto _ : state) {
        std::vector<uint8_t> bgr;
        decodeWithLibtiff(file, bgr, zlib);
        benchmark::DoNotOptimize(bgr.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void tilvenna(benchmark::State& state, const std::string& file)
{
    if (!sameResult(file)) {
        state.SkipWithError("the two decoders disagree or one of them failed");
        return;
    }
    for (auto _ : state) {
        TTIFFGraphic g;
        decodeWithTilvenna(file, g);
        benchmark::DoNotOptimize(g.ScanLine(kSize - 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_TIFF_Deflate_Predictor(benchmark::State& state) { tilvenna(state, deflateFile()); }
void BM_LibTIFF_TIFF_Deflate_Predictor(benchmark::State& state) { libtiff(state, deflateFile()); }
void BM_LibTIFF_libdeflate_TIFF_Deflate_Predictor(benchmark::State& state) { libtiff(state, deflateFile(), false); }
void BM_Tilvenna_TIFF_PackBits(benchmark::State& state) { tilvenna(state, packBitsFile()); }
void BM_LibTIFF_TIFF_PackBits(benchmark::State& state) { libtiff(state, packBitsFile()); }
BENCHMARK(BM_Tilvenna_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_libdeflate_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_TIFF_PackBits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_PackBits)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
