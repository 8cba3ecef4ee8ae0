// Decoding a 2048 x 2048 run-length RGBA Photoshop file and a binary pixel map (P6) with our
// readers and with stb_image side by side. Both images are made in memory at start.
#include "imaging/PPM.h"
#include "imaging/PSD.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PSD
#define STBI_ONLY_PNM
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSize = 2048;

// A texture-like channel value: flat patches (long runs) beside noisy ones (literals).
uint8_t sample(uint32_t x, uint32_t y, int channel, std::mt19937& rng)
{
    bool flat = ((x / 64) + (y / 64)) % 2 == 0;
    return flat ? uint8_t(40 * channel + (x / 64) * 8) : uint8_t(rng());
}

void put16(std::string& s, uint32_t v)
{
    s += char(v >> 8);
    s += char(v);
}

void put32(std::string& s, uint32_t v)
{
    put16(s, v >> 16);
    put16(s, v & 0xFFFF);
}

// PackBits: runs of two or more as a repeat, the rest as literals of up to 128 bytes.
std::string packRow(const std::vector<uint8_t>& row)
{
    std::string out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out += char(257 - run);
            out += char(row[i]);
            i += run;
            continue;
        }
        std::size_t start = i;
        while (i < row.size() && i - start < 128 && !(i + 1 < row.size() && row[i] == row[i + 1]))
            ++i;
        out += char(i - start - 1);
        out.append(reinterpret_cast<const char*>(row.data() + start), i - start);
    }
    return out;
}

std::string makePSD()
{
    std::string file = "8BPS";
    put16(file, 1);
    file.append(6, '\0');
    put16(file, 4);
    put32(file, kSize);
    put32(file, kSize);
    put16(file, 8);
    put16(file, 3);
    put32(file, 0);
    put32(file, 0);
    put32(file, 0);
    put16(file, 1);
    std::mt19937 rng(42);
    std::vector<std::string> rows;
    std::vector<uint8_t> row(kSize);
    for (int c = 0; c < 4; ++c)
        for (uint32_t y = 0; y < kSize; ++y) {
            for (uint32_t x = 0; x < kSize; ++x)
                row[x] = sample(x, y, c, rng);
            rows.push_back(packRow(row));
        }
    for (const auto& r : rows)
        put16(file, uint32_t(r.size()));
    for (const auto& r : rows)
        file += r;
    return file;
}

std::string makePPM()
{
    std::string file = "P6\n" + std::to_string(kSize) + " " + std::to_string(kSize) + "\n255\n";
    std::mt19937 rng(42);
    for (uint32_t y = 0; y < kSize; ++y)
        for (uint32_t x = 0; x < kSize; ++x)
            for (int c = 0; c < 3; ++c)
                file += char(sample(x, y, c, rng));
    return file;
}

const std::string& psd()
{
    static const std::string file = makePSD();
    return file;
}

const std::string& ppm()
{
    static const std::string file = makePPM();
    return file;
}

template <class Graphic>
void tilvenna(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        ReadOnlyMemoryStream s(file);
        Graphic g;
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

void BM_Tilvenna_PsdRle32(benchmark::State& state) { tilvenna<TPSDGraphic>(state, psd()); }
void BM_Stb_PsdRle32(benchmark::State& state) { stb(state, psd()); }
void BM_Tilvenna_PpmP6(benchmark::State& state) { tilvenna<TPPMGraphic>(state, ppm()); }
void BM_Stb_PpmP6(benchmark::State& state) { stb(state, ppm()); }

BENCHMARK(BM_Tilvenna_PsdRle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_PsdRle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_PpmP6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_PpmP6)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
