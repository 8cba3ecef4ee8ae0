// Decoding a 2048 x 2048 run-length RGBA SGI and a 24-bit run-length PCX with our readers
// and, where the build found it, with ImageMagick's library (Magick++) side by side. Both
// files are made in memory at start by the small encoders below.
#include "imaging/PCX.h"
#include "imaging/SGI.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>

#ifdef TILVENNA_WITH_MAGICK
#include <Magick++.h>
#endif

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSize = 2048;

// A texture-like sample: flat patches (long runs) beside noisy ones (literals).
uint8_t sample(uint32_t x, uint32_t y, int channel, std::mt19937& rng)
{
    bool flat = ((x / 64) + (y / 64)) % 2 == 0;
    return flat ? uint8_t(40 * channel + (x / 64) * 8) : uint8_t(rng() & 0xBF);
}

void putBE16(std::string& s, std::size_t at, uint16_t v)
{
    s[at] = char(v >> 8);
    s[at + 1] = char(v);
}

void putBE32(std::string& s, std::size_t at, uint32_t v)
{
    putBE16(s, at, uint16_t(v >> 16));
    putBE16(s, at + 2, uint16_t(v));
}

// SGI 8-bit rows: runs of three or more as run packets, the rest as literal packets.
std::string sgiRow(const std::vector<uint8_t>& row)
{
    std::string out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 127 && row[i + run] == row[i])
            ++run;
        if (run >= 3) {
            out += char(run);
            out += char(row[i]);
            i += run;
            continue;
        }
        std::size_t start = i, n = 0;
        while (i < row.size() && n < 127 && !(i + 2 < row.size() && row[i] == row[i + 1] && row[i] == row[i + 2])) {
            ++i;
            ++n;
        }
        out += char(0x80 | n);
        out.append(reinterpret_cast<const char*>(row.data() + start), n);
    }
    out += char(0);
    return out;
}

const std::string& sgiFile()
{
    static const std::string file = [] {
        const uint32_t channels = 4, rows = kSize * channels;
        std::string out(512 + 8 * rows, '\0');
        putBE16(out, 0, 474);
        out[2] = 1;   // run-length
        out[3] = 1;   // one byte per sample
        putBE16(out, 4, 3);
        putBE16(out, 6, uint16_t(kSize));
        putBE16(out, 8, uint16_t(kSize));
        putBE16(out, 10, uint16_t(channels));
        std::mt19937 rng(42);
        std::vector<uint8_t> row(kSize);
        for (uint32_t c = 0; c < channels; ++c)
            for (uint32_t y = 0; y < kSize; ++y) {
                for (uint32_t x = 0; x < kSize; ++x)
                    row[x] = sample(x, y, int(c), rng);
                std::string packed = sgiRow(row);
                putBE32(out, 512 + 4 * (c * kSize + y), uint32_t(out.size()));
                putBE32(out, 512 + 4 * (rows + c * kSize + y), uint32_t(packed.size()));
                out += packed;
            }
        return out;
    }();
    return file;
}

// PCX: three planes of 8 bits per row; runs of up to 63, and any byte with both top bits
// set as a run of one.
const std::string& pcxFile()
{
    static const std::string file = [] {
        std::string out(128, '\0');
        out[0] = 0x0A;
        out[1] = 5;
        out[2] = 1;
        out[3] = 8;
        out[8] = char((kSize - 1) & 0xFF);
        out[9] = char((kSize - 1) >> 8);
        out[10] = out[8];
        out[11] = out[9];
        out[65] = 3;
        out[66] = char(kSize & 0xFF);
        out[67] = char(kSize >> 8);
        out[68] = 1;
        std::mt19937 rng(42);
        std::vector<uint8_t> plane(kSize);
        for (uint32_t y = 0; y < kSize; ++y)
            for (int c = 0; c < 3; ++c) {
                for (uint32_t x = 0; x < kSize; ++x)
                    plane[x] = sample(x, y, c, rng);
                for (std::size_t i = 0; i < plane.size();) {
                    std::size_t run = 1;
                    while (i + run < plane.size() && run < 63 && plane[i + run] == plane[i])
                        ++run;
                    if (run > 1 || (plane[i] & 0xC0) == 0xC0)
                        out += char(0xC0 | run);
                    out += char(plane[i]);
                    i += run;
                }
            }
        return out;
    }();
    return file;
}

template <class Reader>
void tilvenna(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        ReadOnlyMemoryStream s(file);
        Reader g;
        g.LoadFromStream(s);
        if (g.Width() != kSize) {
            state.SkipWithError("the reader could not decode the image");
            break;
        }
        benchmark::DoNotOptimize(g.ScanLine(kSize - 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_SGI_RLE_RGBA(benchmark::State& state) { tilvenna<TSGIGraphic>(state, sgiFile()); }
void BM_Tilvenna_PCX_RLE_24(benchmark::State& state) { tilvenna<TPCXGraphic>(state, pcxFile()); }
BENCHMARK(BM_Tilvenna_SGI_RLE_RGBA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_PCX_RLE_24)->Unit(benchmark::kMillisecond);

#ifdef TILVENNA_WITH_MAGICK
// ImageMagick decodes into its pixel cache; one thread, as our readers use.
void magick(benchmark::State& state, const std::string& file, const char* format)
{
    static const bool ready = [] {
        Magick::InitializeMagick(nullptr);
        MagickCore::SetMagickResourceLimit(MagickCore::ThreadResource, 1);
        return true;
    }();
    (void)ready;
    for (auto _ : state) {
        Magick::Blob blob(file.data(), file.size());
        Magick::Image image;
        image.magick(format);
        image.read(blob);
        if (image.columns() != kSize) {
            state.SkipWithError("ImageMagick could not decode the image");
            break;
        }
        benchmark::DoNotOptimize(image.getConstPixels(0, kSize - 1, kSize, 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_ImageMagick_SGI_RLE_RGBA(benchmark::State& state) { magick(state, sgiFile(), "SGI"); }
void BM_ImageMagick_PCX_RLE_24(benchmark::State& state) { magick(state, pcxFile(), "PCX"); }
BENCHMARK(BM_ImageMagick_SGI_RLE_RGBA)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageMagick_PCX_RLE_24)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
