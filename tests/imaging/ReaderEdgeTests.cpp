// What the fixture folders cannot show of the PPM, RLA and Photoshop readers: hand-computed
// gamma and scaling, and recognition by content of files no encoder writes.
#include "ImagingTests.h"
#include "imaging/PPM.h"
#include "imaging/PSD.h"
#include "imaging/RLA.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(PPMReader, RowsFromMemoryOfEveryWidth)
{
    // Binary rows are converted where a memory stream keeps them, 21, 5 and 1 pixels a step
    // (the widths end in each); colour 2 is scaled first. The stream is never asked its size
    // per sample (a file stream seeks for it).
    struct Counting : ReadOnlyMemoryStream {
        using ReadOnlyMemoryStream::ReadOnlyMemoryStream;
        int sizes = 0;
        uint64_t Size() override { return ++sizes, ReadOnlyMemoryStream::Size(); }
    };
    for (auto [kind, width, max] : {std::tuple('6', 1u, 255u), {'6', 6u, 255u}, {'6', 22u, 255u}, {'6', 43u, 255u},
                                    {'6', 2000u, 255u}, {'6', 37u, 127u}, {'5', 37u, 255u}, {'3', 500u, 255u}}) {
        std::string file = std::string("P") + kind + " " + std::to_string(width) + " 2 " + std::to_string(max) + "\n";
        std::string expected;
        auto sample = [max = max](uint32_t i) { return i * 7 % (max + 1); };
        for (uint32_t i = 0, samples = kind == '5' ? 2 * width : 6 * width; i < samples; ++i) {
            file += kind == '3' ? std::to_string(sample(i)) + " " : std::string(1, char(sample(i)));
            uint32_t from = kind == '5' ? i : i + 2 - i % 3 * 2;   // blue, green, red from red, green, blue
            expected += char((sample(from) * 255 + max / 2) / max);
        }
        Counting s(file);
        TPPMGraphic g;
        g.LoadFromStream(s);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.ScanLine(0)), 2 * g.BytesPerRow()), expected) << width;
        EXPECT_LT(s.sizes, 10) << kind;
    }
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
