// The Targa reader and writer on hand-built files, for what the fixture folder cannot show:
// stream positions, progress, the writer's layout and the header check.
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include "support/TgaBuilder.h"

#include <gtest/gtest.h>

namespace {

std::string bytes(std::initializer_list<int> v)
{
    std::string s;
    for (int b : v)
        s += char(uint8_t(b));
    return s;
}

std::string row(const Bitmap& bmp, uint32_t y)
{
    return std::string(reinterpret_cast<const char*>(bmp.ScanLine(y)), bmp.BytesPerRow());
}

TEST(TargaReader, StreamIsLeftAfterTheImage)
{
    // No image data: the bitmap has the header's size and zero pixels. A 32-bit bottom-up
    // image: one run covers both rows.
    const std::tuple<std::string, std::string, uint64_t> cases[] = {
        {TgaHeader(0, 3, 2, 24) + "trailing", std::string(9, '\0'), 18},
        {TgaHeader(10, 2, 2, 32) + bytes({0x83, 1, 2, 3, 4}) + "tail", bytes({1, 2, 3, 4, 1, 2, 3, 4}), 23},
    };
    for (const auto& [file, pixels, end] : cases) {
        ReadOnlyMemoryStream s(file);
        TTargaGraphic g;
        g.LoadFromStream(s);
        EXPECT_EQ(row(g, 0) + row(g, 1), pixels + pixels);
        EXPECT_EQ(s.Position(), end) << "the stream is left after the bytes used";
    }
}

TEST(TargaReader, ProgressStagesAndRows)
{
    std::vector<std::string> log;
    TTargaGraphic g;
    g.SetOnProgress([&](Bitmap&, ProgressStage stage, uint8_t percent, bool redraw, const Rect& r, const std::string& msg) {
        log.push_back(std::to_string(int(stage)) + ":" + std::to_string(percent) + ":" + (redraw ? "r" : "-") + ":" +
                      std::to_string(r.top) + "-" + std::to_string(r.bottom) + "/" + std::to_string(r.right) + ":" + msg);
    });
    std::string file = TgaHeader(3, 4, 2, 8) + std::string(8, '\0');
    ReadOnlyMemoryStream s(file);
    g.LoadFromStream(s);
    EXPECT_EQ(log, (std::vector<std::string>{"0:0:-:0-1/4:Preparing...", "2:0:-:0-1/4:", "0:0:-:0-1/4:Transfering...",
                                             "1:0:r:0-1/4:", "1:50:r:1-2/4:", "2:0:-:2-3/4:"}));
}

TEST(TargaWriter, LayoutOfWrittenFiles)
{
    TTargaGraphic g;
    g.SetPixelFormat(PixelFormat::Bits24);
    g.SetSize(3, 2);
    g.Fill(0x00332211);   // red 0x11, green 0x22, blue 0x33
    MemoryStream raw, packed;
    g.SaveToStream(raw, false);
    g.SaveToStream(packed);   // run-length by default
    std::string pixel = bytes({0x33, 0x22, 0x11}), line = pixel + pixel + pixel;
    EXPECT_EQ(raw.View(), TgaHeader(2, 3, 2, 24, 0x20, 0, 0, 256, 24) + line + line);
    EXPECT_EQ(packed.View(), TgaHeader(10, 3, 2, 24, 0x20, 0, 0, 256, 24) +
                                 bytes({0x82, 0x33, 0x22, 0x11, 0x82, 0x33, 0x22, 0x11}));

    // A 1-bit bitmap is turned into an 8-bit one first and written with its map; entries the
    // palette lacks are written black.
    TTargaGraphic mono;
    mono.SetPixelFormat(PixelFormat::Bits1);
    mono.SetSize(3, 1);
    mono.ScanLine(0)[0] = 0xA0;   // 1, 0, 1
    mono.SetPalette(Palette::Create({0x300, {{0, 0, 0, 0}, {255, 128, 1, 0}}}));
    MemoryStream out;
    mono.SaveToStream(out, false);
    EXPECT_EQ(mono.GetPixelFormat(), PixelFormat::Bits8);
    EXPECT_EQ(out.View(), TgaHeader(1, 3, 1, 8, 0x20, 0, 1, 256, 24) + bytes({0, 0, 0, 1, 128, 255}) +
                              std::string(762, '\0') + bytes({1, 0, 1}));

    // 5-6-5 pixels are written as Targa's 5-5-5 (red 01000, green 10000, blue 11000) and
    // come back as the same colour.
    for (bool compressed : {false, true}) {
        TTargaGraphic sixteen, back;
        sixteen.SetPixelFormat(PixelFormat::Bits16);
        sixteen.SetSize(2, 1);
        sixteen.Fill(0x00C08040);
        MemoryStream out16;
        sixteen.SaveToStream(out16, compressed);
        out16.SetPosition(0);
        back.LoadFromStream(out16);
        EXPECT_EQ(back.GetPixelFormat(), PixelFormat::Bits15);
        EXPECT_EQ(row(back, 0), bytes({0x18, 0x22, 0x18, 0x22})) << (compressed ? "compressed" : "raw");
    }

    MemoryStream nothing;
    TTargaGraphic().SaveToStream(nothing);
    EXPECT_EQ(nothing.Size(), 0u);
}

TEST(TargaReader, CanLoadChecksTheHeaderAndKeepsThePosition)
{
    const std::pair<std::string, bool> cases[] = {
        {TgaHeader(2, 1, 1, 24), false},   // nothing after the header
        {TgaHeader(4, 1, 1, 24) + "x", false},
        {TgaHeader(2, 1, 1, 12) + "x", false},
        {TgaHeader(2, 1, 1, 24, 0, 0, 2) + "x", false},
        {TgaHeader(1, 1, 1, 8, 0, 0, 1, 1, 0) + "x", false},   // a map needs a usable entry size
        {TgaHeader(1, 1, 1, 8, 0, 0, 1, 1, 16) + "xxx", true},
    };
    for (const auto& [file, accepted] : cases) {
        std::string shifted = "xx" + file;
        ReadOnlyMemoryStream s(shifted);
        s.SetPosition(2);
        EXPECT_EQ(TTargaGraphic::CanLoad(s), accepted) << file.size();
        EXPECT_EQ(s.Position(), 2u);
    }
}

} // namespace
