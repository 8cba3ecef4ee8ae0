// Resampling small pictures against weights worked out by hand (256 = 1.0, sums divided by
// the total of the weights, truncated).
#include "imaging/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// A kernel whose taps at +-0.5 cancel: 1 near 0, +1 just right of it, -1 just left.
float cancelling(float x)
{
    if (std::fabs(x) < 0.25f)
        return 1;
    if (std::fabs(x) < 0.75f)
        return x > 0 ? 1.0f : -1.0f;
    return 0;
}

struct Case {
    const char* what;
    uint32_t width, height;
    std::vector<uint32_t> pixels;   // 0xBBGGRR, rows top first
    TResamplingFilter filter;
    float radius;
    uint32_t newWidth, newHeight;
    std::vector<uint32_t> expected;
    bool paletted = false;          // the source as an 8-bit grey palette picture
    TFilterFunction kernel = nullptr;
};

uint32_t grey(uint32_t v) { return v * 0x010101; }

Bitmap makeSource(const Case& c)
{
    Bitmap b;
    b.SetPixelFormat(c.paletted ? PixelFormat::Bits8 : PixelFormat::Bits24);
    b.SetSize(c.width, c.height);
    LogicalPalette greys;
    for (int i = 0; i < 256; ++i)
        greys.entries.push_back({uint8_t(i), uint8_t(i), uint8_t(i), 0});
    b.SetPalette(Palette::Create(greys));
    for (uint32_t i = 0; i < c.pixels.size(); ++i) {
        uint8_t* p = b.ScanLine(i / c.width);
        uint32_t v = c.pixels[i];
        if (c.paletted)
            p[i % c.width] = uint8_t(v);
        else
            p[3 * (i % c.width)] = uint8_t(v >> 16), p[3 * (i % c.width) + 1] = uint8_t(v >> 8),
                             p[3 * (i % c.width) + 2] = uint8_t(v);
    }
    return b;
}

std::vector<uint32_t> pixelsOf(const Bitmap& b)
{
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < b.Height(); ++y)
        for (uint32_t x = 0; x < b.Width(); ++x) {
            const uint8_t* p = b.ScanLine(y) + 3 * x;
            out.push_back(uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16);
        }
    return out;
}

TEST(Resampling, HandComputedWeights)
{
    const Case cases[] = {
        // Every tap of a wide kernel over one pixel mirrors back onto it.
        {"1x1, Lanczos, wider than the picture", 1, 1, {0x1E140A}, sfLanczos3, 0, 3, 2, std::vector<uint32_t>(6, 0x1E140A)},
        {"1x1, Mitchell, in place", 1, 1, {0x1E140A}, sfMitchell, 0, 2, 1, {0x1E140A, 0x1E140A}},
        // Centre 0.5: 128 x 10 + 128 x 50; rows keep their place (scale 1).
        {"2x2 to 3x2, triangle", 2, 2, {grey(10), grey(50), grey(90), grey(130)}, sfTriangle, 1, 3, 2,
         {grey(10), grey(30), grey(50), grey(90), grey(110), grey(130)}},
        // Scale 0.5, kernel twice as wide: weights 64 128 64 over 60 30 60 and 60 240 240.
        {"3x1 to 2x1, triangle, default radius", 3, 1, {grey(30), grey(60), grey(240)}, sfTriangle, 0, 2, 1,
         {grey(45), grey(195)}},
        // One pixel wide: scale 1/3, weights 28 57 85 57 28 over 240 60 30 60 240, total 255.
        {"3x1 to 1x1, triangle", 3, 1, {grey(30), grey(60), grey(240)}, sfTriangle, 1, 1, 1, {grey(89)}},
        // Scale 0.5 down the columns: box weights 128 128 at j - 1 and j.
        {"2x3 to 2x2, box, from a palette", 2, 3, {20, 200, 40, 100, 100, 0}, sfBox, 0, 2, 2,
         {grey(30), grey(150), grey(70), grey(50)}, true},
        // Weights 256 and -256 add up to 0: the sum of 256 x (100 - 200) gives 0, not 255.
        {"2x1 to 3x1, cancelling weights", 2, 1, {grey(100), grey(200)}, sfBox, 1, 3, 1,
         {grey(100), grey(0), grey(200)}, false, cancelling},
    };
    for (const Case& c : cases) {
        Bitmap source = makeSource(c), target;
        if (c.kernel) {
            target.SetPixelFormat(PixelFormat::Bits24);
            target.SetSize(c.newWidth, c.newHeight);
            DoStretch(c.kernel, source, target, c.radius);
        } else if (std::string(c.what).ends_with("in place")) {
            Stretch(c.newWidth, c.newHeight, c.filter, c.radius, source);
            target.Assign(source);
        } else {
            Stretch(c.newWidth, c.newHeight, c.filter, c.radius, source, target);
        }
        EXPECT_EQ(target.GetPixelFormat(), PixelFormat::Bits24) << c.what;
        EXPECT_EQ(std::pair(target.Width(), target.Height()), std::pair(c.newWidth, c.newHeight)) << c.what;
        EXPECT_EQ(pixelsOf(target), c.expected) << c.what;
    }

    // A radius far wider than the picture leaves the target as it was.
    Bitmap source, target;
    for (Bitmap* b : {&source, &target}) b->SetPixelFormat(PixelFormat::Bits24);
    source.SetSize(4, 1);
    std::fill_n(source.ScanLine(0), 12, uint8_t(100));
    target.SetSize(1, 1);
    for (float radius : {1e5f, std::numeric_limits<float>::quiet_NaN()}) {
        DoStretch(TriangleFilter, source, target, radius);
        EXPECT_EQ(pixelsOf(target), std::vector<uint32_t>{0}) << radius;
    }
}

} // namespace
