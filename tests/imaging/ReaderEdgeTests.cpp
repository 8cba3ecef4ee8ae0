// What the fixture folders cannot show of the PPM, RLA and Photoshop readers: hand-computed
// gamma and scaling, and recognition by content of files no encoder writes.
#include "ImagingTests.h"
#include "imaging/PPM.h"
#include "imaging/PSD.h"
#include "imaging/PSP.h"
#include "imaging/RLA.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

// A 1 x 1 RLA picture whose red, green and blue are each one run of value.
std::string rlaPixel(const char* gamma, uint8_t value)
{
    std::string file(740, '\0');
    auto put16 = [&](std::size_t at, int v) { file[at] = char(v >> 8), file[at + 1] = char(v); };
    put16(20, 3);        // channels
    put16(26, 0xFFFE);   // revision
    put16(658, 8);       // bits per channel
    std::memcpy(&file[28], gamma, std::strlen(gamma));
    std::memcpy(&file[580], "rgb", 3);
    file += std::string("\0\0\x02\xE8", 4);   // the one scanline starts at 740 + 4
    for (int channel = 0; channel < 3; ++channel)
        file += std::string("\0\x02\0", 3) + char(value);
    return file;
}

TEST(RLAReader, FileGammaIsAppliedAgainstDisplayGamma)
{
    // 64 / 255 to the power 1 / (2.2 x 2.2), times 255, is 191.65.
    const std::tuple<const char*, bool, int> cases[] = {{"2.2", true, 192}, {"1.0", false, 64}, {"none", false, 64}};
    for (const auto& [gamma, applied, blue] : cases) {
        std::string file = rlaPixel(gamma, 64);
        ReadOnlyMemoryStream s(file);
        ASSERT_TRUE(TRLAGraphic::CanLoad(s));
        TRLAGraphic g;
        g.LoadFromStream(s);
        EXPECT_EQ(bool(g.ImageProperties.Options & ioUseGamma), applied) << gamma;
        EXPECT_EQ(g.ScanLine(0)[0], blue) << gamma;
    }
}

TEST(PPMReader, SamplesAreScaledByTheMaximumValue)
{
    // 50 of 100 rounds to 128; a sample above the maximum counts as the maximum.
    const std::pair<std::string, std::string> cases[] = {
        {"P2 3 1 100\n0 50 250\n", std::string("\x00\x80\xFF", 3)},
        {std::string("P5 2 1 1000\n\x01\xF4\x03\xE8", 16), "\x80\xFF"},
        {"P3\n1 1 15 15 7 0", std::string("\x00\x77\xFF", 3)},
    };
    for (const auto& [file, row] : cases) {
        ReadOnlyMemoryStream s(file);
        TPPMGraphic g;
        g.LoadFromStream(s);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.ScanLine(0)), g.BytesPerRow()), row) << file;
    }
}

TEST(PPMReader, BinaryRowsFromMemoryOfEveryWidth)
{
    // Rows converted where a memory stream keeps them, in steps of 21 and 5 pixels and one
    // at a time; the widths end in each kind of step. Colour 2 is scaled before the swap.
    const std::tuple<char, uint32_t, int> cases[] = {{'6', 1, 255},  {'6', 6, 255},  {'6', 22, 255}, {'6', 43, 255},
                                                     {'6', 700, 255}, {'6', 37, 127}, {'5', 37, 255}};
    for (const auto& [kind, width, maxValue] : cases) {
        const int channels = kind == '6' ? 3 : 1;
        std::string file = std::string("P") + kind + " " + std::to_string(width) + " 2 " + std::to_string(maxValue) + "\n";
        std::string expected;
        for (uint32_t i = 0; i < 2 * width * uint32_t(channels); ++i) {
            auto v = uint8_t(i * 7 % uint32_t(maxValue + 1));
            file += char(v);
            expected += char(maxValue == 255 ? v : (v * 255 + maxValue / 2) / maxValue);
        }
        for (std::size_t i = 0; channels == 3 && i < expected.size(); i += 3)
            std::swap(expected[i], expected[i + 2]);
        ReadOnlyMemoryStream s(file);
        TPPMGraphic g;
        g.LoadFromStream(s);
        std::string rows = std::string(reinterpret_cast<const char*>(g.ScanLine(0)), g.BytesPerRow()) +
                           std::string(reinterpret_cast<const char*>(g.ScanLine(1)), g.BytesPerRow());
        EXPECT_EQ(rows, expected) << kind << " " << width;
    }
}

TEST(PPMReader, TextSamplesDoNotAskTheStreamForItsSize)
{
    // A file stream answers its size with seeks: once per sample made large text maps slow.
    struct Counting : ReadOnlyMemoryStream {
        using ReadOnlyMemoryStream::ReadOnlyMemoryStream;
        int sizes = 0;
        uint64_t Size() override
        {
            ++sizes;
            return ReadOnlyMemoryStream::Size();
        }
    };
    std::string file = "P2 100 10 255\n";
    for (int i = 0; i < 1000; ++i)
        file += std::to_string(i % 256) + (i % 7 ? " " : " # seven\n");
    Counting s(file);
    TPPMGraphic g;
    g.LoadFromStream(s);
    EXPECT_EQ(g.ScanLine(9)[99], 999 % 256);
    EXPECT_LT(s.sizes, 10);
}

TEST(PPMReader, RowsNotReadAreZeroAfterAFailedLoad)
{
    // Bytes enough for the size check but too few numbers: the load stops in the second row.
    const std::string file = "P2 2 3 255\n1 2\n3 #............\n";
    ReadOnlyMemoryStream s(file);
    TPPMGraphic g;
    EXPECT_THROW(g.LoadFromStream(s), EInvalidGraphic);
    ASSERT_EQ(g.Height(), 3u);
    const std::string rows[] = {"\x01\x02", std::string(2, '\0'), std::string(2, '\0')};
    for (uint32_t y = 0; y < 3; ++y)
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.ScanLine(y)), 2), rows[y]) << y;
}

TEST(PSPReader, ResolutionPerInchFromEitherUnit)
{
    // The attributes of a version 4 file start at 50: the resolution, a little-endian double,
    // at 58, its unit at 66 (2: per centimetre).
    std::ifstream in(TestData() / "images/psp/v4_rgb_c0.psp", std::ios::binary);
    const std::string original{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto& [unit, expected] : {std::pair(1, 100.0f), std::pair(2, 254.0f)}) {
        std::string file = original;
        const char hundred[8] = {0, 0, 0, 0, 0, 0, 0x59, 0x40};
        file.replace(58, 8, hundred, 8);
        file[66] = char(unit);
        ReadOnlyMemoryStream s(file);
        TPSPGraphic g;
        ASSERT_TRUE(g.ReadImageProperties(s, 0));
        EXPECT_FLOAT_EQ(g.ImageProperties.XResolution, expected) << unit;
        EXPECT_FLOAT_EQ(g.ImageProperties.YResolution, expected) << unit;
    }
}

TEST(ContentProbes, FilesOfEveryLengthAndLetterCase)
{
    // A one-pixel bitmap is eight bytes; a lower-case Photoshop signature is recognised but
    // not loaded; each probe leaves the stream where it was.
    const std::tuple<std::string, bool (*)(Stream&), bool> cases[] = {
        {std::string("P4\n1 1\n\x80", 8), &TPPMGraphic::CanLoad, true},
        {"P7\n1 1\n", &TPPMGraphic::CanLoad, false},
        {"8bps" + std::string("\0\x01", 2) + std::string(40, '\0'), &TPSDGraphic::CanLoad, true},
        {"8BPS" + std::string("\0\x02", 2) + std::string(40, '\0'), &TPSDGraphic::CanLoad, false},
        {rlaPixel("", 1).substr(0, 740), &TRLAGraphic::CanLoad, false},
    };
    for (const auto& [file, canLoad, expected] : cases) {
        ReadOnlyMemoryStream s(file);
        s.SetPosition(0);
        EXPECT_EQ(canLoad(s), expected) << file.substr(0, 4);
        EXPECT_EQ(s.Position(), 0u);
    }
    std::string lower = std::get<0>(cases[2]);
    ReadOnlyMemoryStream s(lower);
    EXPECT_NE(ReaderError([&] { TPSDGraphic().LoadFromStream(s); }).find("Invalid or unexpected PSD"), std::string::npos);
}

} // namespace
