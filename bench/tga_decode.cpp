// Decoding a 2048 x 2048 Targa, 32-bit run-length and 24-bit raw, with our reader and with
// stb_image side by side. Both images are made in memory at start.
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <cstdint>
#include <random>
#include <string>

namespace {

constexpr uint32_t kSize = 2048;

// A texture-like picture: flat patches (long runs) beside noisy ones (raw packets).
std::string makeTarga(PixelFormat format, bool compressed)
{
    TTargaGraphic g;
    g.SetPixelFormat(format);
    g.SetSize(kSize, kSize);
    int pb = format == PixelFormat::Bits32 ? 4 : 3;
    std::mt19937 rng(42);
    for (uint32_t y = 0; y < kSize; ++y) {
        uint8_t* row = g.ScanLine(y);
        for (uint32_t x = 0; x < kSize; ++x) {
            bool flat = ((x / 64) + (y / 64)) % 2 == 0;
            for (int c = 0; c < pb; ++c)
                row[x * pb + c] = flat ? uint8_t(40 * c + (x / 64) * 8) : uint8_t(rng());
        }
    }
    MemoryStream out;
    g.SaveToStream(out, compressed);
    return std::string(out.View());
}

const std::string& rle32()
{
    static const std::string file = makeTarga(PixelFormat::Bits32, true);
    return file;
}

const std::string& raw24()
{
    static const std::string file = makeTarga(PixelFormat::Bits24, false);
    return file;
}

void tilvenna(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        ReadOnlyMemoryStream s(file);
        TTargaGraphic g;
        g.LoadFromStream(s);
        benchmark::DoNotOptimize(g.ScanLine(kSize - 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void stb(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        int w = 0, h = 0, comp = 0;
        stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(file.data()), int(file.size()), &w,
                                                &h, &comp, 0);
        if (!pixels || w != int(kSize)) {
            state.SkipWithError("stb_image could not decode the image");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_Rle32(benchmark::State& state) { tilvenna(state, rle32()); }
void BM_Stb_Rle32(benchmark::State& state) { stb(state, rle32()); }
void BM_Tilvenna_Raw24(benchmark::State& state) { tilvenna(state, raw24()); }
void BM_Stb_Raw24(benchmark::State& state) { stb(state, raw24()); }

BENCHMARK(BM_Tilvenna_Rle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Rle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_Raw24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Raw24)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
