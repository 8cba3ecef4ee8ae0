// The colour manager's description, gamma, YCbCr parameters, pixel formats and palettes.
#include "imaging/GraphicColor.h"
#include "imaging/GraphicStrings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

std::string errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EColorConversionError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ColorManager, SettersCheckTheirRangesAndChangeNothingOnFailure)
{
    TColorManager cm;
    EXPECT_EQ(errorOf([&] { cm.SetSourceBitsPerSample(0); }), gesInvalidSampleDepth);
    EXPECT_EQ(errorOf([&] { cm.SetTargetBitsPerSample(17); }), gesInvalidSampleDepth);
    EXPECT_EQ(cm.SourceBitsPerSample(), 8);
    EXPECT_EQ(cm.TargetBitsPerSample(), 8);
    cm.SetSourceBitsPerSample(5);
    EXPECT_EQ(cm.SourceBitsPerSample(), 5);
    EXPECT_EQ(errorOf([&] { cm.SetSourceSamplesPerPixel(0); }), gesInvalidPixelDepth);
    EXPECT_EQ(errorOf([&] { cm.SetTargetSamplesPerPixel(5); }), gesInvalidPixelDepth);
    EXPECT_EQ(cm.SourceSamplesPerPixel(), 3);
    EXPECT_EQ(cm.TargetSamplesPerPixel(), 3);
    EXPECT_EQ(cm.SourceColorScheme(), csRGB);
    EXPECT_EQ(cm.TargetColorScheme(), csBGR);
}

TEST(ColorManager, ConversionChoiceAndItsErrors)
{
    struct Case {
        TColorScheme source, target;
        uint8_t sourceBits, targetBits;
        const char* error;   // null: a converter is found
    };
    const Case cases[] = {
        {csIndexed, csBGR, 8, 8, gesIndexedNotSupported},
        {csRGB, csG, 8, 8, gesIndexedNotSupported},
        {csGA, csBGR, 8, 8, gesIndexedNotSupported},
        {csCMY, csBGR, 8, 8, gesConversionUnsupported},
        {csUnknown, csRGB, 8, 8, gesConversionUnsupported},
        {csRGB, csCMYK, 8, 8, gesConversionUnsupported},
        {csG, csG, 4, 16, gesConversionUnsupported},
        {csGA, csG, 4, 8, gesConversionUnsupported},
        {csG, csIndexed, 4, 8, nullptr},
        {csG, csG, 8, 16, nullptr},
        {csGA, csIndexed, 16, 8, nullptr},
        {csIndexed, csIndexed, 16, 4, nullptr},
        {csCMYK, csRGBA, 8, 8, nullptr},
        {csCIELab, csBGR, 8, 8, nullptr},
        {csYCbCr, csRGB, 8, 8, nullptr},
        {csPhotoYCC, csBGRA, 8, 16, nullptr},
    };
    for (const Case& c : cases) {
        TColorManager cm;
        cm.SetSourceColorScheme(c.source);
        cm.SetTargetColorScheme(c.target);
        cm.SetSourceBitsPerSample(c.sourceBits);
        cm.SetTargetBitsPerSample(c.targetBits);
        uint8_t in[8] = {}, out[16] = {};
        std::string got = errorOf([&] { cm.ConvertRow({in}, out, 1, 0xFF); });
        EXPECT_EQ(got, c.error ? c.error : "no error") << int(c.source) << "->" << int(c.target);
        if (c.error && std::string(c.error) == gesConversionUnsupported) {
            EXPECT_EQ(errorOf([&] { cm.ConvertRow({in}, out, 1, 0xFF); }), c.error) << "the error repeats";
        }
    }
    // The alpha option follows the schemes.
    TColorManager cm;
    cm.SetSourceColorScheme(csRGBA);
    cm.TargetOptions = coAlpha;
    cm.PrepareConversion();
    EXPECT_TRUE(cm.SourceOptions & coAlpha);
    EXPECT_FALSE(cm.TargetOptions & coAlpha);
}

TEST(ColorManager, GammaTable)
{
    TColorManager cm;
    // Display gamma 2.2, computed independently: round(255 * (i / 255) ^ (1 / 2.2)).
    EXPECT_EQ(cm.GammaTable()[0], 0);
    EXPECT_EQ(cm.GammaTable()[1], 21);
    EXPECT_EQ(cm.GammaTable()[64], 136);
    EXPECT_EQ(cm.GammaTable()[128], 186);
    EXPECT_EQ(cm.GammaTable()[200], 228);
    EXPECT_EQ(cm.GammaTable()[254], 255);
    EXPECT_EQ(cm.GammaTable()[255], 255);
    cm.SetGamma(0, -1);
    EXPECT_FLOAT_EQ(cm.MainGamma(), 1.0f);
    EXPECT_FLOAT_EQ(cm.DisplayGamma(), 2.2f);
    cm.SetGamma(1, 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(cm.GammaTable()[i], i);
    cm.SetGamma(std::nanf(""), 1);
    EXPECT_FLOAT_EQ(cm.MainGamma(), 1.0f);
    // With 2-bit samples on both sides the table spans 0..3.
    cm.SetSourceBitsPerSample(2);
    cm.SetTargetBitsPerSample(2);
    cm.SetGamma(1, 0.5f);   // exponent 2
    EXPECT_EQ(cm.GammaTable()[0], 0);
    EXPECT_EQ(cm.GammaTable()[1], 0);   // (1/3)^2 * 3 = 0.33
    EXPECT_EQ(cm.GammaTable()[2], 1);   // (2/3)^2 * 3 = 1.33
    EXPECT_EQ(cm.GammaTable()[3], 3);
    // A shallow source with a deep target keeps the table inside its 256 entries.
    cm.SetSourceBitsPerSample(4);
    cm.SetTargetBitsPerSample(16);
    cm.SetGamma(1, 1);
    EXPECT_EQ(cm.GammaTable()[128], 128);
    EXPECT_EQ(cm.GammaTable()[255], 255);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[0], 0.299f) << "nothing beyond the table was written";
}

TEST(ColorManager, YCbCrParameters)
{
    TColorManager cm;
    EXPECT_EQ(errorOf([&] { cm.SetYCbCrParameters({0.2f, 0.7f, 0.1f}, 1, 2); }), gesVerticalSubSamplingError);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[1], 0.7f) << "coefficients are stored before the checks";
    EXPECT_EQ(cm.VSubSampling(), 1);
    EXPECT_EQ(errorOf([&] { cm.SetYCbCrParameters({0.3f}, 3, 1); }), gesInvalidSubSampling);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[0], 0.3f);
    EXPECT_FLOAT_EQ(cm.YCbCrCoefficients()[1], 0.7f) << "only the given coefficients change";
    cm.SetYCbCrParameters({0.299f, 0.587f, 0.114f}, 4, 2);
    EXPECT_EQ(cm.HSubSampling(), 4);
    EXPECT_EQ(cm.VSubSampling(), 2);
}

TEST(ColorManager, PixelFormatForEachDescription)
{
    struct Case {
        uint8_t samples, bits;
        PixelFormat format;
    };
    const Case cases[] = {
        {1, 1, PixelFormat::Bits1},  {1, 2, PixelFormat::Bits4},   {1, 4, PixelFormat::Bits4},
        {1, 5, PixelFormat::Custom}, {1, 8, PixelFormat::Bits8},   {1, 16, PixelFormat::Bits8},
        {3, 5, PixelFormat::Bits15}, {3, 1, PixelFormat::Bits15},  {3, 6, PixelFormat::Bits24},
        {3, 8, PixelFormat::Bits24}, {4, 8, PixelFormat::Bits32},  {4, 16, PixelFormat::Bits32},
        {4, 4, PixelFormat::Custom}, {2, 8, PixelFormat::Custom},
    };
    for (const Case& c : cases) {
        TColorManager cm;
        cm.SetSourceSamplesPerPixel(c.samples);
        cm.SetSourceBitsPerSample(c.bits);
        EXPECT_EQ(cm.GetPixelFormat(0), c.format) << int(c.samples) << " x " << int(c.bits);
        EXPECT_EQ(cm.GetPixelFormat(1), PixelFormat::Bits24) << "the target stays 3 x 8";
    }
}

TEST(ColorManager, ColourPalettes)
{
    TColorManager cm;
    uint8_t triples[] = {1, 2, 3, 4, 5, 6};
    Palette bgr = cm.CreateColorPalette({triples}, pfInterlaced8Triple, 2, true);
    ASSERT_EQ(bgr.Count(), 2);
    EXPECT_EQ(bgr.Entries()[0], (PaletteEntry{3, 2, 1, 0}));
    Palette rgb = cm.CreateColorPalette({triples}, pfInterlaced8Triple, 2, false);
    EXPECT_EQ(rgb.Entries()[1], (PaletteEntry{4, 5, 6, 0}));
    uint8_t quads[] = {1, 2, 3, 99, 4, 5, 6, 99};
    EXPECT_EQ(cm.CreateColorPalette({quads}, pfInterlaced8Quad, 2, true).Entries()[1], (PaletteEntry{6, 5, 4, 0}));

    // 16-bit words read the order flag the other way round and scale down.
    uint8_t words[] = {0xFF, 0xFF, 0x00, 0x80, 0x00, 0x01};
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, true).Entries()[0], (PaletteEntry{255, 127, 0, 0}));
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, false).Entries()[0], (PaletteEntry{0, 127, 255, 0}));
    cm.SourceOptions = coNeedByteSwap;
    EXPECT_EQ(cm.CreateColorPalette({words}, pfInterlaced16Triple, 1, true).Entries()[0], (PaletteEntry{255, 0, 0, 0}));
    cm.SourceOptions = 0;

    uint8_t r[] = {10, 20}, g[] = {30, 40}, b[] = {50, 128};
    Palette planes = cm.CreateColorPalette({r, g, b}, pfPlane8Quad, 2, true);
    EXPECT_EQ(planes.Entries()[1], (PaletteEntry{20, 40, 128, 0}));
    cm.TargetOptions = coApplyGamma;
    EXPECT_EQ(cm.CreateColorPalette({r, g, b}, pfPlane8Triple, 2, false).Entries()[1].blue, 186);
    cm.TargetOptions = 0;

    std::vector<uint8_t> many(300 * 3, 7);
    EXPECT_EQ(cm.CreateColorPalette({many.data()}, pfInterlaced8Triple, 300, true).Count(), 256);

    // 4-bit source, 8-bit target: the 16 colours are spread over 256 entries.
    std::vector<uint8_t> sixteen(16 * 3);
    for (int i = 0; i < 16; ++i)
        sixteen[3 * i] = uint8_t(i * 10);
    cm.SetSourceBitsPerSample(4);
    Palette spread = cm.CreateColorPalette({sixteen.data()}, pfInterlaced8Triple, 16, false);
    ASSERT_EQ(spread.Count(), 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(spread.Entries()[i].red, (i * 15 / 255) * 10) << i;
    // 8-bit source, 2-bit target: four entries picked from the 256.
    std::vector<uint8_t> full(256 * 3);
    for (int i = 0; i < 256; ++i)
        full[3 * i] = uint8_t(i);
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetBitsPerSample(2);
    Palette squeezed = cm.CreateColorPalette({full.data()}, pfInterlaced8Triple, 256, false);
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
    TColorManager cm;
    cm.SetTargetSamplesPerPixel(1);
    Palette grey = cm.CreateGrayscalePalette(false);
    ASSERT_EQ(grey.Count(), 256);
    EXPECT_EQ(grey.Entries()[0], (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(grey.Entries()[77], (PaletteEntry{77, 77, 77, 0}));
    cm.SetTargetBitsPerSample(1);
    Palette mono = cm.CreateGrayscalePalette(true);
    ASSERT_EQ(mono.Count(), 2);
    EXPECT_EQ(mono.Entries()[0].red, 255);
    EXPECT_EQ(mono.Entries()[1].red, 0);
    cm.SetTargetBitsPerSample(2);
    Palette four = cm.CreateGrayscalePalette(false);
    ASSERT_EQ(four.Count(), 4);
    EXPECT_EQ(four.Entries()[1].green, 85);
    EXPECT_EQ(four.Entries()[3].blue, 255);
    cm.SetTargetBitsPerSample(8);
    cm.SetTargetSamplesPerPixel(3);
    EXPECT_EQ(cm.CreateGrayscalePalette(false).Count(), 256);
    cm.SetTargetSamplesPerPixel(1);
    cm.TargetOptions = coApplyGamma;
    EXPECT_EQ(cm.CreateGrayscalePalette(false).Entries()[128].red, 186);
}

TEST(ColorManager, HelperArithmetic)
{
    EXPECT_EQ(ClampByte(-5), 0);
    EXPECT_EQ(ClampByte(0), 0);
    EXPECT_EQ(ClampByte(255), 255);
    EXPECT_EQ(ClampByte(256), 255);
    EXPECT_EQ(MulDiv16(0xFFFF, 255, 65535), 255);
    EXPECT_EQ(MulDiv16(0x0100, 255, 65535), 0);
    EXPECT_EQ(MulDiv16(0x8000, 255, 65535), 127);
    EXPECT_EQ(MulDiv16(0x12, 65535, 255), 0x1212);
    EXPECT_EQ(MulDiv16(3, 255, 15), 51);
}

} // namespace
