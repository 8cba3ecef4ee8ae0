// Decoding a 2048 x 2048 RGBA PNG, plain and interlaced, with our reader, libpng and
// stb_image side by side. libpng writes both pictures in memory at start, choosing each
// row's filter itself, so the rows mix all five filters.
#include "imaging/PNG.h"
#include "platform/Stream.h"

#include <benchmark/benchmark.h>
#include <png.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSize = 2048;

// A photo-like picture: smooth gradients with some noise, flat patches and hard edges, and a
// varying alpha.
std::vector<uint8_t> picture()
{
    std::vector<uint8_t> rgba(std::size_t(kSize) * kSize * 4);
    std::mt19937 rng(7);
    for (uint32_t y = 0; y < kSize; ++y)
        for (uint32_t x = 0; x < kSize; ++x) {
            uint8_t* p = &rgba[(std::size_t(y) * kSize + x) * 4];
            bool flat = (x / 256 + y / 256) % 3 == 0;
            int noise = flat ? 0 : int(rng() % 9) - 4;
            double wave = std::sin(x * 0.01) * std::cos(y * 0.013);
            p[0] = uint8_t(std::clamp(int(128 + 100 * wave) + noise, 0, 255));
            p[1] = uint8_t(std::clamp(int(x * 255 / kSize) + noise, 0, 255));
            p[2] = uint8_t(std::clamp(int(y * 255 / kSize) - noise, 0, 255));
            p[3] = uint8_t(flat ? 255 : (x ^ y) & 0xFF);
        }
    return rgba;
}

void writeBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), size);
}

std::string encode(bool interlaced)
{
    static const std::vector<uint8_t> rgba = picture();
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("libpng could not write the picture");
    png_set_write_fn(png, &out, writeBytes, nullptr);
    png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, PNG_ALL_FILTERS);
    png_write_info(png, info);
    std::vector<png_bytep> rows(kSize);
    for (uint32_t y = 0; y < kSize; ++y)
        rows[y] = const_cast<png_bytep>(&rgba[std::size_t(y) * kSize * 4]);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

const std::string& plainFile()
{
    static const std::string file = encode(false);
    return file;
}

const std::string& interlacedFile()
{
    static const std::string file = encode(true);
    return file;
}

bool libpngDecode(const std::string& file, std::vector<uint8_t>& pixels);

void tilvenna(benchmark::State& state, const std::string& file)
{
    // A reader that is fast but wrong measures nothing: its pixels must be libpng's.
    std::vector<uint8_t> expected;
    ReadOnlyMemoryStream first(file);
    TPNGGraphic check;
    check.LoadFromStream(first);
    if (!libpngDecode(file, expected) || check.BytesPerRow() != std::size_t(kSize) * 4 ||
        std::memcmp(check.ScanLine(0), expected.data(), expected.size()) != 0) {
        state.SkipWithError("the reader's pixels differ from libpng's");
        return;
    }
    for (auto _ : state) {
        ReadOnlyMemoryStream s(file);
        TPNGGraphic g;
        g.LoadFromStream(s);
        benchmark::DoNotOptimize(g.ScanLine(kSize - 1));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

struct Reader {
    const std::string* file;
    std::size_t at = 0;
};

void readBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->file->size() - r->at < size)
        png_error(png, "read past the end");
    std::memcpy(data, r->file->data() + r->at, size);
    r->at += size;
}

// libpng into blue-green-red-alpha rows, the layout our reader makes; false when it fails.
bool libpngDecode(const std::string& file, std::vector<uint8_t>& pixels)
{
    pixels.resize(std::size_t(kSize) * kSize * 4);
    std::vector<png_bytep> rows(kSize);
    for (uint32_t y = 0; y < kSize; ++y)
        rows[y] = &pixels[std::size_t(y) * kSize * 4];
    Reader reader{&file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_read_info(png, info);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void libpng(benchmark::State& state, const std::string& file)
{
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        if (!libpngDecode(file, pixels)) {
            state.SkipWithError("libpng could not decode the picture");
            break;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void stb(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        int w = 0, h = 0, comp = 0;
        stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(file.data()), int(file.size()), &w,
                                                &h, &comp, 4);
        if (!pixels || w != int(kSize)) {
            state.SkipWithError("stb_image could not decode the picture");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_Tilvenna_Plain(benchmark::State& state) { tilvenna(state, plainFile()); }
void BM_Libpng_Plain(benchmark::State& state) { libpng(state, plainFile()); }
void BM_Stb_Plain(benchmark::State& state) { stb(state, plainFile()); }
void BM_Tilvenna_Interlaced(benchmark::State& state) { tilvenna(state, interlacedFile()); }
void BM_Libpng_Interlaced(benchmark::State& state) { libpng(state, interlacedFile()); }
void BM_Stb_Interlaced(benchmark::State& state) { stb(state, interlacedFile()); }

BENCHMARK(BM_Tilvenna_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tilvenna_Interlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng_Interlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Interlaced)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
