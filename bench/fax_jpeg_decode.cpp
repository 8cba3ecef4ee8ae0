// Decoding an A4 fax page (1728 x 2292, Group 3 one-dimensional, stored least significant
// bit first as fax machines do) and a 2048 x 2048 JPEG-in-TIFF picture (YCbCr 2 x 2, tables
// in the JPEG tables field) with our decoders and with libtiff side by side. libtiff writes
// both files at start; each side then decodes every strip of the file in memory into rows:
// libtiff through TIFFReadEncodedStrip (JPEG turned into RGB by libjpeg), ours by copying the
// strip's bytes out of the file as a reader does and handing them to the decoder.
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"

#include <benchmark/benchmark.h>

#ifdef TILVENNA_WITH_LIBTIFF
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint32_t kPageWidth = 1728, kPageHeight = 2292;
constexpr uint32_t kPictureSize = 2048;

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

// A photograph-like picture: smooth gradients with a little noise.
std::vector<uint8_t> picture()
{
    std::vector<uint8_t> rgb(std::size_t(kPictureSize) * kPictureSize * 3);
    std::mt19937 rng(42);
    for (uint32_t y = 0; y < kPictureSize; ++y)
        for (uint32_t x = 0; x < kPictureSize; ++x) {
            uint8_t* p = &rgb[(std::size_t(y) * kPictureSize + x) * 3];
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t((x * (c + 1) + y * (3 - c)) / 16 + rng() % 8);
        }
    return rgb;
}

std::string readBack(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    return bytes;
}

std::string tempPath(const char* what)
{
    return (std::filesystem::temp_directory_path() / ("tilvenna-bench-" + std::to_string(getpid()) + what)).string();
}

const std::string& faxFile()
{
    static const std::string file = [] {
        const std::vector<uint8_t> bits = page();
        std::string path = tempPath("-fax.tif");
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kPageWidth);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kPageHeight);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0);
        TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
        for (uint32_t y = 0; y < kPageHeight; ++y)
            TIFFWriteScanline(tif, const_cast<uint8_t*>(&bits[y * (kPageWidth / 8)]), y, 0);
        TIFFClose(tif);
        return readBack(path);
    }();
    return file;
}

const std::string& jpegFile()
{
    static const std::string file = [] {
        const std::vector<uint8_t> rgb = picture();
        std::string path = tempPath("-jpeg.tif");
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kPictureSize);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kPictureSize);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 75);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 64);
        for (uint32_t y = 0; y < kPictureSize; ++y)
            TIFFWriteScanline(tif, const_cast<uint8_t*>(&rgb[std::size_t(y) * kPictureSize * 3]), y, 0);
        TIFFClose(tif);
        return readBack(path);
    }();
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

TIFF* openInMemory(Memory& m)
{
    return TIFFClientOpen("bench", "rm", &m, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc, unmapProc);
}

// What our side needs of the file: where the strips are, and the tags its decoders take.
struct Layout {
    uint32_t width = 0, height = 0, rowsPerStrip = 0, rowBytes = 0;
    bool reversed = false;
    std::vector<uint64_t> offsets, counts;
    TImageProperties properties;
};

Layout layoutOf(const std::string& file)
{
    Memory m{&file};
    TIFF* tif = openInMemory(m);
    Layout l;
    uint16_t fill = FILLORDER_MSB2LSB, bits = 1, samples = 1, photometric = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &l.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &l.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &l.rowsPerStrip);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fill);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    l.rowsPerStrip = std::min(l.rowsPerStrip, l.height);
    l.rowBytes = (l.width * bits * samples + 7) / 8;
    l.reversed = fill == FILLORDER_LSB2MSB;
    uint64_t *offsets = nullptr, *counts = nullptr;
    TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
    TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts);
    l.offsets.assign(offsets, offsets + TIFFNumberOfStrips(tif));
    l.counts.assign(counts, counts + TIFFNumberOfStrips(tif));
    TImageProperties& p = l.properties;
    p.Width = l.width;
    p.Height = l.height;
    p.BitsPerSample = uint8_t(bits);
    p.SamplesPerPixel = uint8_t(samples);
    p.PlanarConfig = 1;
    p.ColorScheme = photometric == PHOTOMETRIC_YCBCR ? csYCbCr : csG;
    p.RowsPerStrip = {l.rowsPerStrip};
    p.BytesPerLine = l.rowBytes;
    uint32_t tablesLength = 0;
    void* tables = nullptr;
    if (TIFFGetField(tif, TIFFTAG_JPEGTABLES, &tablesLength, &tables))
        p.JPEGTables.assign(static_cast<uint8_t*>(tables), static_cast<uint8_t*>(tables) + tablesLength);
    if (photometric == PHOTOMETRIC_YCBCR) {
        uint16_t h = 2, v = 2;
        TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &h, &v);
        p.YCbCrSubSampling = {uint8_t(h), uint8_t(v)};
    }
    TIFFClose(tif);
    return l;
}

// Every row of the file, decoded by libtiff.
std::vector<uint8_t> decodeWithLibtiff(const std::string& file, bool jpeg)
{
    Memory m{&file};
    TIFF* tif = openInMemory(m);
    if (jpeg)
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    std::vector<uint8_t> rows(std::size_t(TIFFScanlineSize(tif)) * (jpeg ? kPictureSize : kPageHeight));
    uint8_t* at = rows.data();
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
        tmsize_t got = TIFFReadEncodedStrip(tif, s, at, tmsize_t(rows.data() + rows.size() - at));
        at += std::max<tmsize_t>(got, 0);
    }
    TIFFClose(tif);
    return rows;
}

// Every row of the file, decoded by ours: each strip's bytes copied out of the file, decoded
// into the rows it holds.
std::vector<uint8_t> decodeWithTilvenna(const std::string& file, const Layout& l, bool jpeg)
{
    std::unique_ptr<TDecoder> decoder;
    TImageProperties p = l.properties;
    if (jpeg)
        decoder = std::make_unique<TTIFFJPEGDecoder>(p);
    else
        decoder = std::make_unique<TCCITTFax3Decoder>(0, l.reversed, false, l.width);
    std::vector<uint8_t> rows(std::size_t(l.rowBytes) * l.height), packed;
    decoder->DecodeInit();
    for (std::size_t s = 0; s < l.offsets.size(); ++s) {
        p.CurrentRow = uint32_t(s * l.rowsPerStrip);
        uint32_t count = std::min(l.rowsPerStrip, l.height - p.CurrentRow);
        packed.resize(l.counts[s]);
        std::memcpy(packed.data(), file.data() + l.offsets[s], packed.size());
        const uint8_t* source = packed.data();
        uint8_t* dest = rows.data() + std::size_t(p.CurrentRow) * l.rowBytes;
        decoder->Decode(source, dest, int32_t(packed.size()), int32_t(count * l.rowBytes));
    }
    decoder->DecodeEnd();
    return rows;
}

void libtiff(benchmark::State& state, const std::string& file, bool jpeg)
{
    TIFFSetWarningHandler(nullptr);
    if (decodeWithLibtiff(file, jpeg) != decodeWithTilvenna(file, layoutOf(file), jpeg)) {
        state.SkipWithError("the two decoders disagree");
        return;
    }
    for (auto _ : state) {
        std::vector<uint8_t> rows = decodeWithLibtiff(file, jpeg);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void tilvenna(benchmark::State& state, const std::string& file, bool jpeg)
{
    const Layout layout = layoutOf(file);
    if (decodeWithLibtiff(file, jpeg) != decodeWithTilvenna(file, layout, jpeg)) {
        state.SkipWithError("the two decoders disagree");
        return;
    }
    for (auto _ : state) {
        std::vector<uint8_t> rows = decodeWithTilvenna(file, layout, jpeg);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_G3_A4Page(benchmark::State& state) { tilvenna(state, faxFile(), false); }
void BM_LibTIFF_G3_A4Page(benchmark::State& state) { libtiff(state, faxFile(), false); }
void BM_Tilvenna_JPEG_2048(benchmark::State& state) { tilvenna(state, jpegFile(), true); }
void BM_LibTIFF_JPEG_2048(benchmark::State& state) { libtiff(state, jpegFile(), true); }
BENCHMARK(BM_Tilvenna_G3_A4Page)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_G3_A4Page)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_JPEG_2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibTIFF_JPEG_2048)->Unit(benchmark::kMillisecond);

} // namespace
#endif

BENCHMARK_MAIN();
