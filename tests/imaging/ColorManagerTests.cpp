// The colour manager's description, gamma, YCbCr parameters, pixel formats and palettes.
#include "ImagingTests.h"
#include "imaging/GraphicColor.h"
#include "imaging/GraphicStrings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ColorManager, RefusedSettingsChangeNothing)
{
    TColorManager cm;
    EXPECT_EQ(ReaderError([&] { cm.SetSourceBitsPerSample(0); }), gesInvalidSampleDepth);
    EXPECT_EQ(ReaderError([&] { cm.SetTargetBitsPerSample(17); }), gesInvalidSampleDepth);
    EXPECT_EQ(ReaderError([&] { cm.SetSourceSamplesPerPixel(0); }), gesInvalidPixelDepth);
    EXPECT_EQ(ReaderError([&] { cm.SetTargetSamplesPerPixel(5); }), gesInvalidPixelDepth);
    EXPECT_EQ(cm.SourceBitsPerSample(), 8);
    EXPECT_EQ(cm.TargetSamplesPerPixel(), 3);

    EXPECT_EQ(ReaderError([&] { cm.SetYCbCrParameters({0.2f, 0.7f, 0.1f}, 1, 2); }), gesVerticalSubSamplingError);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[1], 0.7f) << "coefficients are stored before the checks";
    EXPECT_EQ(ReaderError([&] { cm.SetYCbCrParameters({0.3f}, 3, 1); }), gesInvalidSubSampling);
    EXPECT_EQ(cm.VSubSampling(), 1);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[0], 0.3f);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[1], 0.7f) << "only the given coefficients change";
    cm.SetYCbCrParameters({}, 4, 2);
    EXPECT_EQ(cm.VSubSampling(), 2);
}

TEST(ColorManager, GammaTable)
{
    TColorManager cm;
    // Display gamma 2.2, computed independently: round(255 * (i / 255) ^ (1 / 2.2)).
    const int expected[][2] = {{0, 0}, {1, 21}, {64, 136}, {128, 186}, {200, 228}, {254, 255}, {255, 255}};
    for (auto [i, v] : expected)
        EXPECT_EQ(cm.GammaTable()[i], v) << i;
    cm.SetGamma(std::nanf(""), -1);
    EXPECT_FLOAT_EQ(cm.MainGamma(), 1.0f) << "unusable values fall back";
    EXPECT_FLOAT_EQ(cm.DisplayGamma(), 2.2f);
    // With 2-bit samples on both sides the table spans 0..3.
    cm.SetSourceBitsPerSample(2);
    cm.SetTargetBitsPerSample(2);
    cm.SetGamma(1, 0.5f);   // exponent 2: (i / 3)^2 * 3
    EXPECT_EQ((std::vector<int>(cm.GammaTable().begin(), cm.GammaTable().begin() + 4)), (std::vector<int>{0, 0, 1, 3}));
    // A shallow source with a deep target keeps the table inside its 256 entries.
    cm.SetSourceBitsPerSample(4);
    cm.SetTargetBitsPerSample(16);
    cm.SetGamma(1, 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(cm.GammaTable()[i], i);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[0], 0.299f) << "nothing beyond the table was written";
}

TEST(ColorManager, PixelFormatForEachDescription)
{
    // Samples x bits; the Targa fixtures show 1 x 8, 3 x 5, 3 x 8 and 4 x 8.
    using PF = PixelFormat;
    const std::tuple<int, int, PixelFormat> cases[] = {
        {1, 1, PF::Bits1},  {1, 2, PF::Bits4},  {1, 4, PF::Bits4},   {1, 5, PF::Custom}, {1, 16, PF::Bits8},
        {3, 1, PF::Bits15}, {3, 6, PF::Bits24}, {4, 16, PF::Bits32}, {4, 4, PF::Custom}, {2, 8, PF::Custom},
    };
    for (auto [samples, bits, format] : cases) {
        TColorManager cm;
        cm.SetTargetSamplesPerPixel(uint8_t(samples));
        cm.SetTargetBitsPerSample(uint8_t(bits));
        EXPECT_EQ(cm.GetPixelFormat(1), format) << samples << " x " << bits;
    }
}

TEST(ColorManager, ColourPalettes)
{
    TColorManager cm;
    // (Blue-green-red maps of 8-bit triples and quadruples are read by the Targa fixtures.)
    uint8_t triples[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(cm.CreateColorPalette({triples}, pfInterlaced8Triple, 2, false).Entries()[1], (PaletteEntry{4, 5, 6, 0}));
    // 16-bit words read the order flag the other way round and scale down.
    uint8_t words[] = {0xFF, 0xFF, 0x00, 0x80, 0x00, 0x01};
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, true).Entries()[0], (PaletteEntry{255, 127, 0, 0}));
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, false).Entries()[0], (PaletteEntry{0, 127, 255, 0}));
    cm.SourceOptions = coNeedByteSwap;
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, true).Entries()[0], (PaletteEntry{255, 0, 0, 0}));
    uint8_t r[] = {10, 20}, g[] = {30, 40}, b[] = {50, 128};
    EXPECT_EQ(cm.CreateColorPalette({r, g, b}, pfPlane8Quad, 2, true).Entries()[1], (PaletteEntry{20, 40, 128, 0}));
    cm.TargetOptions = coApplyGamma;
    EXPECT_EQ(cm.CreateColorPalette({r, g, b}, pfPlane8Triple, 2, false).Entries()[1].blue, 186);
    cm.TargetOptions = 0;

    // 4-bit source, 8-bit target: the 16 colours are spread over 256 entries.
    std::vector<uint8_t> full(256 * 3);
    for (int i = 0; i < 256; ++i)
        full[3 * i] = uint8_t(i < 16 ? i * 10 : i);
    cm.SetSourceBitsPerSample(4);
    Palette spread = cm.CreateColorPalette({full.data()}, pfInterlaced8Triple, 16, false);
    ASSERT_EQ(spread.Count(), 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(spread.Entries()[i].red, (i * 15 / 255) * 10) << i;
    // 8-bit source, 2-bit target: four entries picked from the 256.
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetBitsPerSample(2);
    Palette squeezed = cm.CreateColorPalette({full.data()}, pfInterlaced8Triple, 300, false);
    ASSERT_EQ(squeezed.Count(), 4);
    EXPECT_EQ(squeezed.Entries()[1].red, 85);
    EXPECT_EQ(squeezed.Entries()[3].red, 255);
    // A 16-bit source depth never reads past the 256 entries.
    cm.SetSourceBitsPerSample(16);
    cm.SetTargetBitsPerSample(8);
    EXPECT_EQ(cm.CreateColorPalette({full.data()}, pfInterlaced8Triple, 256, false).Count(), 256);
}

TEST(ColorManager, GreyscalePalettes)
{
    using Entries = std::vector<PaletteEntry>;
    TColorManager cm;
    cm.SetTargetSamplesPerPixel(1);   // (256 levels, black first, are read by the Targa fixtures)
    cm.SetTargetBitsPerSample(1);
    EXPECT_EQ(cm.CreateGrayscalePalette(true).Entries(), (Entries{{255, 255, 255, 0}, {0, 0, 0, 0}})) << "white first";
    cm.SetTargetBitsPerSample(2);
    EXPECT_EQ(cm.CreateGrayscalePalette(false).Entries(),
              (Entries{{0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0}, {255, 255, 255, 0}}));
    cm.SetTargetBitsPerSample(8);
    cm.TargetOptions = coApplyGamma;
    EXPECT_EQ(cm.CreateGrayscalePalette(false).Entries()[128].red, 186);
}

} // namespace
