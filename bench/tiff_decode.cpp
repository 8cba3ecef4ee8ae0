// Decoding TIFF files with our reader and with libtiff side by side: a 2048 x 2048 RGB
// picture, deflate with horizontal differencing and PackBits; the same picture as JPEG
// (YCbCr 2 x 2, tables in the JPEG tables field); and an A4 fax page (1728 x 2292, Group 3
// one-dimensional, stored least significant bit first as fax machines do). libtiff writes
// the files at start; it reads them strip by strip (TIFFReadEncodedStrip: decoded,
// differencing undone, JPEG turned into RGB by libjpeg) into a picture of the layout our
// reader fills: blue-green-red rows, or rows of one bit a pixel. Deflate is measured twice on
// libtiff's side: inflated by zlib, as our reader does, and by libdeflate, which Debian's
// libtiff takes for whole strips when it may.
#include "imaging/TIFF.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>

#ifdef TILVENNA_WITH_LIBTIFF
#include <tiffio.h>

#include <algorithm>
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
constexpr uint32_t kPageWidth = 1728, kPageHeight = 2292;

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

// A page of text: lines of glyph-like marks between white margins and white line spacing.
std::vector<uint8_t> page()
{
    const std::size_t rowBytes = kPageWidth / 8;
    std::vector<uint8_t> bits(rowBytes * kPageHeight);
    std::mt19937 rng(7);
    for (uint32_t line = 150; line + 30 < kPageHeight - 150; line += 48) {
        std::vector<std::pair<uint32_t, uint32_t>> glyphs;   // x, width
        for (uint32_t x = 120; x < kPageWidth - 140;) {
            uint32_t w = 6 + rng() % 14;
            glyphs.emplace_back(x, w);
            x += w + 2 + rng() % 4 + (rng() % 7 == 0 ? 14 : 0);
        }
        for (uint32_t y = line; y < line + 30; ++y)
            for (auto [x0, w] : glyphs)
                for (uint32_t x = x0; x < x0 + w; ++x)
                    if ((x * 7 + y * 3 + x0) % 11 < 4 || x == x0 || y == line + 29)
                        bits[y * rowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    return bits;
}

// libtiff writes the picture (or for fax the page) to a file of its own, whose bytes are then
// kept in memory.
std::string writeTiff(uint16_t compression, uint16_t predictor)
{
    const bool fax = compression == COMPRESSION_CCITTFAX3;
    static const std::vector<uint8_t> rgb = picture();
    static const std::vector<uint8_t> bits = page();
    const uint32_t width = fax ? kPageWidth : kSize, height = fax ? kPageHeight : kSize;
    const std::size_t rowBytes = fax ? kPageWidth / 8 : std::size_t(kSize) * 3;
    std::string path = (std::filesystem::temp_directory_path() /
                        ("tilvenna-bench-" + std::to_string(getpid()) + "-" + std::to_string(compression) + ".tif"))
                           .string();
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, fax ? 1 : 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, fax ? 1 : 3);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (fax) {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0);
        TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    } else if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 75);
    } else {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    if (predictor != 1)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, predictor);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, compression == COMPRESSION_JPEG ? 64 : TIFFDefaultStripSize(tif, 0));
    // libtiff may change the row it is given (differencing is done in place): each row is
    // handed over as a copy, so every file holds the same picture.
    const std::vector<uint8_t>& rows = fax ? bits : rgb;
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(row.data(), &rows[y * rowBytes], rowBytes);
        TIFFWriteScanline(tif, row.data(), y, 0);
    }
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

const std::string& jpegFile()
{
    static const std::string file = writeTiff(COMPRESSION_JPEG, 1);
    return file;
}

const std::string& faxFile()
{
    static const std::string file = writeTiff(COMPRESSION_CCITTFAX3, 1);
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

// Decodes the file into a new picture of blue, green and red rows (or of one bit a pixel),
// as a load makes one; false when libtiff fails.
bool decodeWithLibtiff(const std::string& file, std::vector<uint8_t>& picture, bool zlib = true)
{
    Memory m{&file};
    TIFF* tif =
        TIFFClientOpen("bench", "rm", &m, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc, unmapProc);
    if (!tif)
        return false;
    uint16_t compression = COMPRESSION_NONE;
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    if (zlib && compression == COMPRESSION_ADOBE_DEFLATE)
        TIFFSetField(tif, TIFFTAG_DEFLATE_SUBCODEC, DEFLATE_SUBCODEC_ZLIB);
    if (compression == COMPRESSION_JPEG)
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    const std::size_t rowBytes = std::size_t(TIFFScanlineSize(tif));
    picture = std::vector<uint8_t>(rowBytes * height);
    uint32_t row = 0;
    if (compression == COMPRESSION_CCITTFAX3) {
        // Rows of bits are the picture's rows as they come.
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif) && row < height; ++s) {
            tmsize_t got = TIFFReadEncodedStrip(tif, s, &picture[row * rowBytes], tmsize_t((height - row) * rowBytes));
            row += uint32_t(std::max<tmsize_t>(got, 0) / tmsize_t(rowBytes));
        }
    } else {
        std::vector<uint8_t> strip(std::size_t(TIFFStripSize(tif)));
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
            tmsize_t got = TIFFReadEncodedStrip(tif, s, strip.data(), tmsize_t(strip.size()));
            const uint8_t* in = strip.data();
            for (tmsize_t done = 0; done + tmsize_t(rowBytes) <= got && row < height; done += tmsize_t(rowBytes), ++row) {
                uint8_t* out = &picture[row * rowBytes];
                for (uint32_t x = 0; x < width; ++x, in += 3, out += 3) {
                    out[0] = in[2];
                    out[1] = in[1];
                    out[2] = in[0];
                }
            }
        }
    }
    TIFFClose(tif);
    return row == height;
}

void decodeWithTilvenna(const std::string& file, TTIFFGraphic& g)
{
    ReadOnlyMemoryStream s(file);
    g.LoadFromStream(s);
}

// Both must decode the file to the same pixels for the times to mean anything.
bool sameResult(const std::string& file)
{
    std::vector<uint8_t> picture;
    if (!decodeWithLibtiff(file, picture))
        return false;
    try {
        TTIFFGraphic g;
        decodeWithTilvenna(file, g);
        const std::size_t rowBytes = g.BytesPerRow();
        if (rowBytes * g.Height() != picture.size())
            return false;
        for (uint32_t y = 0; y < g.Height(); ++y)
            if (std::memcmp(g.ScanLine(y), &picture[y * rowBytes], rowBytes) != 0)
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
        std::vector<uint8_t> picture;
        decodeWithLibtiff(file, picture, zlib);
        benchmark::DoNotOptimize(picture.data());
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
        benchmark::DoNotOptimize(g.ScanLine(g.Height() - 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_TIFF_Deflate_Predictor(benchmark::State& state) { tilvenna(state, deflateFile()); }
void BM_LibTIFF_TIFF_Deflate_Predictor(benchmark::State& state) { libtiff(state, deflateFile()); }
void BM_LibTIFF_libdeflate_TIFF_Deflate_Predictor(benchmark::State& state) { libtiff(state, deflateFile(), false); }
void BM_Tilvenna_TIFF_PackBits(benchmark::State& state) { tilvenna(state, packBitsFile()); }
void BM_LibTIFF_TIFF_PackBits(benchmark::State& state) { libtiff(state, packBitsFile()); }
void BM_Tilvenna_TIFF_JPEG_YCbCr(benchmark::State& state) { tilvenna(state, jpegFile()); }
void BM_LibTIFF_TIFF_JPEG_YCbCr(benchmark::State& state) { libtiff(state, jpegFile()); }
void BM_Tilvenna_TIFF_G3_A4Page(benchmark::State& state) { tilvenna(state, faxFile()); }
void BM_LibTIFF_TIFF_G3_A4Page(benchmark::State& state) { libtiff(state, faxFile()); }
BENCHMARK(BM_Tilvenna_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_libdeflate_TIFF_Deflate_Predictor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_TIFF_PackBits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_PackBits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_TIFF_JPEG_YCbCr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_JPEG_YCbCr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_TIFF_G3_A4Page)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_TIFF_G3_A4Page)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
