// The TIFF and EPS readers beyond what the fixture folders show: a directory other than the
// first, the progress of a load, and an EPS preview whose stated length is 0.
#include "ImagingTests.h"
#include "imaging/EPS.h"
#include "imaging/TIFF.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string fixture(const char* name)
{
    std::ifstream in(TestData() / "images" / "tiff" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TIFFReader, DirectoriesByIndex)
{
    // Big-endian: an RGB page, then a grey one.
    const std::string file = fixture("cp_two_pages_be.tif");
    const std::tuple<uint32_t, bool, TColorScheme, uint8_t> cases[] = {
        {0, true, csRGB, 3}, {1, true, csG, 1}, {2, false, csUnknown, 0}};
    for (const auto& [index, found, scheme, samples] : cases) {
        SCOPED_TRACE(index);
        ReadOnlyMemoryStream s(file);
        TTIFFGraphic g;
        ASSERT_EQ(g.ReadImageProperties(s, index), found);
        if (found) {
            EXPECT_EQ(g.ImageProperties.ColorScheme, scheme);
            EXPECT_EQ(g.ImageProperties.SamplesPerPixel, samples);
            EXPECT_TRUE(g.ImageProperties.Options & ioBigEndian);
            EXPECT_EQ(g.ImageProperties.Width, 13u);
        }
    }
}

TEST(TIFFReader, ProgressStagesAndRows)
{
    std::vector<std::string> log;
    TTIFFGraphic g;
    g.SetOnProgress([&](Bitmap&, ProgressStage stage, uint8_t percent, bool redraw, const Rect& r, const std::string& msg) {
        log.push_back(std::to_string(int(stage)) + ":" + std::to_string(percent) + ":" + (redraw ? "r" : "-") + ":" +
                      std::to_string(r.top) + "/" + std::to_string(r.right) + ":" + msg);
    });
    // 2 x 2, one row a strip.
    const std::string file = fixture("hb_be_short_strips.tif");
    ReadOnlyMemoryStream s(file);
    g.LoadFromStream(s);
    EXPECT_EQ(log, (std::vector<std::string>{"0:0:-:0/0:Preparing...", "2:0:-:0/2:", "0:0:-:0/2:Transfering...",
                                             "1:50:r:0/2:", "1:100:r:1/2:", "2:0:-:2/2:"}));
}

TEST(EPSReader, PreviewOfLengthZeroStillLoads)
{
    // The header's preview length is 0: the probe turns it down, a load takes the preview.
    const std::string tiff = fixture("cp_rgb_none_le.tif");
    std::string header(30, '\0');
    header.replace(0, 4, "\xC5\xD0\xD3\xC6");
    header[20] = 30;
    const std::string file = header + tiff;
    ReadOnlyMemoryStream eps(file), plain(tiff);
    EXPECT_FALSE(TEPSGraphic::CanLoad(eps));
    EXPECT_EQ(eps.Position(), 0u);
    TEPSGraphic g;
    TTIFFGraphic reference;
    g.LoadFromStream(eps);
    reference.LoadFromStream(plain);
    ASSERT_EQ(g.Height(), 7u);
    for (uint32_t y = 0; y < g.Height(); ++y)
        EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(g.ScanLine(y)), g.BytesPerRow()),
                  std::string_view(reinterpret_cast<const char*>(reference.ScanLine(y)), reference.BytesPerRow()));
}

} // namespace
