// Every fixture made by ImageMagick or netpbm (and a few hand-built ones) is loaded through
// the picture loading by file name and compared pixel by pixel with what an independent
// decoder made of it.
#include "Netpbm.h"
#include "imaging/Targa.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::string fixtureDir()
{
    const char* data = std::getenv("TILVENNA_TEST_DATA");
    return std::string(data ? data : "tests/data") + "/images/targa/";
}

struct Fixture {
    const char* name;
    PixelFormat format;
    TColorScheme scheme;
    bool rle;
};

const Fixture kFixtures[] = {
    {"im_16_raw_bu", PixelFormat::Bits15, csRGB, false},
    {"im_16_rle_td", PixelFormat::Bits15, csRGB, true},
    {"im_24_raw_bu", PixelFormat::Bits24, csRGB, false},
    {"im_24_raw_td", PixelFormat::Bits24, csRGB, false},
    {"im_24_rle_bu", PixelFormat::Bits24, csRGB, true},
    {"im_24_rle_wide", PixelFormat::Bits24, csRGB, true},
    {"im_32_raw_bu", PixelFormat::Bits32, csRGBA, false},
    {"im_32_rle_td", PixelFormat::Bits32, csRGBA, true},
    {"im_cmap_raw_bu", PixelFormat::Bits8, csIndexed, false},
    {"im_cmap_rle_td", PixelFormat::Bits8, csIndexed, true},
    {"im_grey_raw_bu", PixelFormat::Bits8, csG, false},
    {"im_grey_rle_td", PixelFormat::Bits8, csG, true},
    {"nb_24_raw_bu", PixelFormat::Bits24, csRGB, false},
    {"nb_24_rle_bu", PixelFormat::Bits24, csRGB, true},
    {"nb_24_rle_wide", PixelFormat::Bits24, csRGB, true},
    {"nb_32_rle_bu", PixelFormat::Bits32, csRGBA, true},
    {"nb_cmap_raw_bu", PixelFormat::Bits8, csIndexed, false},
    {"nb_cmap16_rle_bu", PixelFormat::Bits8, csIndexed, true},
    {"nb_grey_rle_bu", PixelFormat::Bits8, csG, true},
    {"hb_24_rle_cross_td", PixelFormat::Bits24, csRGB, true},
    {"hb_grey_map_bu", PixelFormat::Bits8, csG, false},
};

// Red, green, blue (and alpha) of pixel (x, y) as the bitmap holds it, in 8 bits, except
// 15-bit pixels, which give their 5-bit fields.
std::array<int, 4> pixelOf(const Bitmap& bmp, uint32_t x, uint32_t y)
{
    const uint8_t* row = bmp.ScanLine(y);
    switch (bmp.GetPixelFormat()) {
    case PixelFormat::Bits8: {
        const PaletteEntry& e = bmp.GetPalette().Entries().at(row[x]);
        return {e.red, e.green, e.blue, 255};
    }
    case PixelFormat::Bits15: {
        int w = row[2 * x] | (row[2 * x + 1] << 8);
        return {(w >> 10) & 31, (w >> 5) & 31, w & 31, 255};
    }
    case PixelFormat::Bits24: return {row[3 * x + 2], row[3 * x + 1], row[3 * x], 255};
    case PixelFormat::Bits32: return {row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]};
    default: return {-1, -1, -1, -1};
    }
}

class TargaFixtures : public ::testing::TestWithParam<Fixture> {
protected:
    static void SetUpTestSuite() { FileFormatList(); }
};

TEST_P(TargaFixtures, PixelsMatchTheIndependentDecoder)
{
    const Fixture& f = GetParam();
    std::string base = fixtureDir() + f.name;
    std::unique_ptr<Bitmap> picture = LoadPicture(base + ".tga");
    auto* tga = dynamic_cast<TTargaGraphic*>(picture.get());
    ASSERT_NE(tga, nullptr) << "the .tga extension must reach the Targa reader";
    EXPECT_EQ(tga->GetPixelFormat(), f.format);
    EXPECT_EQ(tga->ImageProperties.ColorScheme, f.scheme);
    EXPECT_EQ(tga->ImageProperties.Compression, f.rle ? ctRLE : ctNone);

    NetpbmImage ref = ReadNetpbm(base + ".ref.ppm");
    ASSERT_EQ(int(tga->Width()), ref.width);
    ASSERT_EQ(int(tga->Height()), ref.height);
    bool hasAlpha = std::filesystem::exists(base + ".ref-alpha.pgm");
    NetpbmImage alpha = hasAlpha ? ReadNetpbm(base + ".ref-alpha.pgm") : NetpbmImage();
    // 15-bit pixels and 15-bit colour maps are compared in their 5 bits.
    bool fiveBits = f.format == PixelFormat::Bits15 || std::string(f.name).find("cmap16") != std::string::npos;

    int mismatches = 0;
    for (int y = 0; y < ref.height; ++y) {
        for (int x = 0; x < ref.width; ++x) {
            auto got = pixelOf(*tga, x, y);
            for (int c = 0; c < 3; ++c) {
                int want = ref.at(x, y, c);
                int have = got[c];
                if (fiveBits) {
                    if (ref.maxval == 255)
                        want >>= 3;
                    if (f.format == PixelFormat::Bits8)
                        have >>= 3;
                }
                if (want != have && ++mismatches <= 5)
                    ADD_FAILURE() << f.name << " pixel " << x << "," << y << " channel " << c << ": " << have
                                  << " != " << want;
            }
            if (hasAlpha && got[3] != alpha.at(x, y, 0) && ++mismatches <= 5)
                ADD_FAILURE() << f.name << " alpha at " << x << "," << y << ": " << got[3] << " != " << alpha.at(x, y, 0);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_P(TargaFixtures, AcceptedByContentAndWrittenBackUnchanged)
{
    const Fixture& f = GetParam();
    std::string path = fixtureDir() + f.name + ".tga";
    EXPECT_TRUE(TTargaGraphic::CanLoad(path));
    EXPECT_EQ(FileFormatList().GraphicFromContent(path), &TTargaGraphic::Class());

    TTargaGraphic original;
    original.LoadFromFile(path);
    for (bool compressed : {false, true}) {
        MemoryStream out;
        TTargaGraphic(original).SaveToStream(out, compressed);
        if (!compressed) {
            std::size_t pb = f.format == PixelFormat::Bits8 ? 1 : f.format == PixelFormat::Bits15 ? 2
                             : f.format == PixelFormat::Bits24 ? 3 : 4;
            std::size_t expected = 18 + (pb == 1 ? 768 : 0) + pb * original.Width() * original.Height();
            EXPECT_EQ(out.Size(), expected);
        }
        out.SetPosition(0);
        EXPECT_TRUE(TTargaGraphic::CanLoad(out));
        EXPECT_EQ(out.Position(), 0u);
        TTargaGraphic back;
        back.LoadFromStream(out);
        ASSERT_EQ(back.GetPixelFormat(), original.GetPixelFormat());
        ASSERT_EQ(back.Width(), original.Width());
        ASSERT_EQ(back.Height(), original.Height());
        for (uint32_t y = 0; y < back.Height(); ++y)
            ASSERT_EQ(0, std::memcmp(back.ScanLine(y), original.ScanLine(y), back.BytesPerRow()))
                << f.name << (compressed ? " compressed" : " raw") << " row " << y;
        if (f.format == PixelFormat::Bits8) {
            // The written map always has 256 entries; the ones the image had come back.
            auto& a = original.GetPalette().Entries();
            auto& b = back.GetPalette().Entries();
            ASSERT_EQ(b.size(), 256u);
            for (std::size_t i = 0; i < a.size(); ++i)
                EXPECT_EQ(a[i], b[i]) << f.name << " palette entry " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TargaFixtures, ::testing::ValuesIn(kFixtures),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
