// The Targa reader on hand-built files: row order, colour maps, run packets across rows,
// the writer's layout, progress, and damaged files that must fail cleanly.
#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "imaging/Targa.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string header(uint8_t type, uint16_t w, uint16_t h, uint8_t bits, uint8_t descriptor = 0, uint8_t idLength = 0,
                   uint8_t mapType = 0, uint16_t mapLength = 0, uint8_t mapBits = 0)
{
    TargaHeader t;
    t.IDLength = idLength;
    t.ColorMapType = mapType;
    t.ImageType = type;
    t.ColorMapLength = mapLength;
    t.ColorMapEntrySize = mapBits;
    t.Width = w;
    t.Height = h;
    t.PixelSize = bits;
    t.ImageDescriptor = descriptor;
    uint8_t b[TargaHeader::Size];
    t.Serialize(b);
    return std::string(reinterpret_cast<char*>(b), sizeof b);
}

std::string bytes(std::initializer_list<int> v)
{
    std::string s;
    for (int b : v)
        s += char(uint8_t(b));
    return s;
}

std::vector<uint8_t> row(const Bitmap& bmp, uint32_t y)
{
    return std::vector<uint8_t>(bmp.ScanLine(y), bmp.ScanLine(y) + bmp.BytesPerRow());
}

TTargaGraphic load(const std::string& file)
{
    ReadOnlyMemoryStream s(file);
    TTargaGraphic g;
    g.LoadFromStream(s);
    return g;
}

TEST(TargaReader, RowOrderFollowsDescriptorBit5)
{
    std::string pixels = bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});   // 2 x 2, 24-bit
    TTargaGraphic top = load(header(2, 2, 2, 24, 0x20) + pixels);
    TTargaGraphic bottom = load(header(2, 2, 2, 24, 0x00) + pixels);
    EXPECT_EQ(top.GetPixelFormat(), PixelFormat::Bits24);
    EXPECT_EQ(row(top, 0), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(row(top, 1), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(row(bottom, 0), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(row(bottom, 1), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(TargaReader, IdFieldAndSixteenBitColourMap)
{
    // Entries: pure red, pure green, pure blue as 5-5-5 words; the ID field comes first.
    std::string file = header(1, 3, 1, 8, 0x20, 4, 1, 3, 16) + "abcd" +
                       bytes({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}) + bytes({2, 1, 0});
    TTargaGraphic g = load(file);
    ASSERT_EQ(g.GetPixelFormat(), PixelFormat::Bits8);
    EXPECT_EQ(row(g, 0), (std::vector<uint8_t>{2, 1, 0}));
    const auto& e = g.GetPalette().Entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0], (PaletteEntry{248, 0, 0, 0}));
    EXPECT_EQ(e[1], (PaletteEntry{0, 248, 0, 0}));
    EXPECT_EQ(e[2], (PaletteEntry{0, 0, 248, 0}));

    // 24- and 32-bit maps are blue, green, red (, alpha).
    TTargaGraphic m24 = load(header(1, 1, 1, 8, 0x20, 0, 1, 2, 24) + bytes({1, 2, 3, 4, 5, 6}) + bytes({1}));
    EXPECT_EQ(m24.GetPalette().Entries().at(1), (PaletteEntry{6, 5, 4, 0}));
    TTargaGraphic m32 = load(header(1, 1, 1, 8, 0x20, 0, 1, 2, 32) + bytes({1, 2, 3, 9, 4, 5, 6, 9}) + bytes({1}));
    EXPECT_EQ(m32.GetPalette().Entries().at(1), (PaletteEntry{6, 5, 4, 0}));
    EXPECT_EQ(row(m32, 0), (std::vector<uint8_t>{1}));
}

TEST(TargaReader, FifteenBitAndTypeZero)
{
    TTargaGraphic g = load(header(2, 1, 1, 15, 0x20) + bytes({0x34, 0x12}));
    EXPECT_EQ(g.GetPixelFormat(), PixelFormat::Bits15);
    EXPECT_EQ(row(g, 0), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(g.ImageProperties.BitsPerSample, 5);

    // No image data: the bitmap has the header's size, its pixels are left zero.
    std::string file = header(0, 3, 2, 24) + "trailing";
    ReadOnlyMemoryStream s(file);
    TTargaGraphic empty;
    empty.LoadFromStream(s);
    EXPECT_EQ(empty.Width(), 3u);
    EXPECT_EQ(empty.Height(), 2u);
    EXPECT_EQ(row(empty, 1), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(s.Position(), 18u);
}

TEST(TargaReader, RunPacketsCarryOverIntoTheNextRow)
{
    // (Packets across row ends are also checked against tgatoppm in the fixtures.)
    // 32-bit bottom-up: one run covering the whole image, and the stream ends right after it.
    std::string file = header(10, 2, 2, 32) + bytes({0x83, 1, 2, 3, 4}) + "tail";
    ReadOnlyMemoryStream s(file);
    TTargaGraphic big;
    big.LoadFromStream(s);
    EXPECT_EQ(row(big, 0), (std::vector<uint8_t>{1, 2, 3, 4, 1, 2, 3, 4}));
    EXPECT_EQ(row(big, 1), row(big, 0));
    EXPECT_EQ(s.Position(), 18u + 5u) << "the stream is left after the packed bytes used";
}

TEST(TargaReader, ProgressStagesAndRows)
{
    std::vector<std::string> log;
    TTargaGraphic g;
    g.SetOnProgress([&](Bitmap&, ProgressStage stage, uint8_t percent, bool redraw, const Rect& r, const std::string& msg) {
        log.push_back(std::to_string(int(stage)) + ":" + std::to_string(percent) + ":" + (redraw ? "r" : "-") + ":" +
                      std::to_string(r.top) + "-" + std::to_string(r.bottom) + "/" + std::to_string(r.right) + ":" + msg);
    });
    std::string file = header(3, 4, 2, 8) + std::string(8, '\0');
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
    MemoryStream raw;
    g.SaveToStream(raw, false);
    ASSERT_EQ(raw.Size(), 18u + 3 * 3 * 2);
    std::string_view v = raw.View();
    EXPECT_EQ(v.substr(0, 18), header(2, 3, 2, 24, 0x20, 0, 0, 256, 24));
    EXPECT_EQ(v.substr(18, 3), bytes({0x33, 0x22, 0x11}));

    MemoryStream packed;
    g.SaveToStream(packed);   // run-length by default
    EXPECT_EQ(packed.View().substr(18), bytes({0x82, 0x33, 0x22, 0x11, 0x82, 0x33, 0x22, 0x11}));
    EXPECT_EQ(uint8_t(packed.View()[2]), 10);

    // A 1-bit bitmap is turned into an 8-bit one first and written with its map.
    TTargaGraphic mono;
    mono.SetPixelFormat(PixelFormat::Bits1);
    mono.SetSize(3, 1);
    mono.ScanLine(0)[0] = 0xA0;   // 1, 0, 1
    mono.SetPalette(Palette::Create({0x300, {{0, 0, 0, 0}, {255, 128, 1, 0}}}));
    MemoryStream out;
    mono.SaveToStream(out, false);
    EXPECT_EQ(mono.GetPixelFormat(), PixelFormat::Bits8);
    ASSERT_EQ(out.Size(), 18u + 768 + 3);
    EXPECT_EQ(out.View().substr(18, 6), bytes({0, 0, 0, 1, 128, 255}));
    EXPECT_EQ(out.View().substr(18 + 6, 3), std::string(3, '\0')) << "entries the palette lacks are written black";
    EXPECT_EQ(out.View().substr(18 + 768), bytes({1, 0, 1}));

    // 5-6-5 pixels are written as Targa's 5-5-5 and come back as the same colour.
    for (bool compressed : {false, true}) {
        TTargaGraphic sixteen;
        sixteen.SetPixelFormat(PixelFormat::Bits16);
        sixteen.SetSize(2, 1);
        sixteen.Fill(0x00C08040);
        MemoryStream out16;
        sixteen.SaveToStream(out16, compressed);
        out16.SetPosition(0);
        TTargaGraphic back;
        back.LoadFromStream(out16);
        Bitmap expected;
        expected.SetPixelFormat(PixelFormat::Bits15);
        expected.SetSize(2, 1);
        expected.Fill(0x00C08040);
        ASSERT_EQ(back.GetPixelFormat(), PixelFormat::Bits15);
        EXPECT_EQ(row(back, 0), row(expected, 0)) << (compressed ? "compressed" : "raw");
    }

    MemoryStream nothing;
    TTargaGraphic().SaveToStream(nothing);
    EXPECT_EQ(nothing.Size(), 0u);
}

TEST(TargaReader, CanLoadChecksTheHeaderAndKeepsThePosition)
{
    std::string good = "xx" + header(2, 1, 1, 24) + bytes({1, 2, 3});
    ReadOnlyMemoryStream s(good);
    s.SetPosition(2);
    EXPECT_TRUE(TTargaGraphic::CanLoad(s));
    EXPECT_EQ(s.Position(), 2u);
    auto canLoad = [](const std::string& file) {
        ReadOnlyMemoryStream m(file);
        bool r = TTargaGraphic::CanLoad(m);
        EXPECT_EQ(m.Position(), 0u);
        return r;
    };
    EXPECT_FALSE(canLoad(header(2, 1, 1, 24))) << "nothing after the header";
    EXPECT_FALSE(canLoad(header(4, 1, 1, 24) + "x"));
    EXPECT_FALSE(canLoad(header(2, 1, 1, 12) + "x"));
    EXPECT_FALSE(canLoad(header(2, 1, 1, 24, 0, 0, 2) + "x"));
    EXPECT_FALSE(canLoad(header(1, 1, 1, 8, 0, 0, 1, 1, 0) + "x")) << "a map needs a usable entry size";
    EXPECT_TRUE(canLoad(header(1, 1, 1, 8, 0, 0, 1, 1, 16) + "xxx"));
    EXPECT_FALSE(canLoad("short"));
}

TEST(TargaReader, DamagedFilesFailCleanly)
{
    auto fails = [](const std::string& file) {
        ReadOnlyMemoryStream s(file);
        TTargaGraphic g;
        try {
            g.LoadFromStream(s);
        } catch (const ReadError&) {
            return std::string("read");
        } catch (const EInvalidGraphic& e) {
            return std::string("invalid:") + e.what();
        } catch (const EGraphicCompression& e) {
            return std::string("compression:") + e.what();
        } catch (const EColorConversionError& e) {
            return std::string("colour:") + e.what();
        }
        return std::string("loaded");
    };
    EXPECT_EQ(fails(header(2, 4, 4, 24).substr(0, 10)), "read");
    EXPECT_EQ(fails(header(2, 4, 4, 24, 0, 200)), "read") << "ID field past the end";
    EXPECT_EQ(fails(header(2, 4, 4, 24) + std::string(10, 'x')), "read");
    EXPECT_EQ(fails(header(1, 2, 1, 8, 0, 0, 1, 200, 24) + "xx"), "read") << "colour map past the end";
    // Sizes far beyond the data are refused before anything is allocated.
    EXPECT_EQ(fails(header(2, 4000, 4000, 32) + "xxxx"), "read");
    EXPECT_EQ(fails(header(10, 4000, 4000, 32) + "xxxx"), "read");
    const std::string tooBig = "invalid:Cannot load image. Invalid or unexpected Targa image format.";
    EXPECT_EQ(fails(header(2, 65535, 65535, 32) + "xxxx"), tooBig);
    EXPECT_EQ(fails(header(0, 65535, 65535, 32)), tooBig) << "even without pixel data in the file";
    EXPECT_EQ(fails(header(2, 2, 2, 7) + std::string(16, 'x')),
              std::string("colour:") + gesInvalidPixelDepth);
    EXPECT_EQ(fails(header(1, 1, 1, 8, 0, 0, 1, 257, 24) + std::string(800, 'x')),
              "invalid:Cannot load image. Palette in Targa file is invalid.");
    EXPECT_EQ(fails(header(1, 1, 1, 8, 0, 0, 1, 2, 8) + std::string(8, 'x')),
              "invalid:Cannot load image. Palette in Targa file is invalid.");
    // Run-length data that ends inside a raw packet.
    EXPECT_EQ(fails(header(10, 4, 2, 24) + bytes({0x07, 1, 2, 3, 4, 5, 6})),
              "compression:Cannot load image. Compression error found in Targa file.");
    EXPECT_EQ(fails(header(10, 4, 2, 24) + bytes({0x83, 1, 2, 3, 0x83})),
              "compression:Cannot load image. Compression error found in Targa file.");
    // A true-colour image may carry a map too large for a palette: it is stepped over.
    std::string bigMap = header(2, 1, 1, 24, 0, 0, 1, 300, 24) + std::string(900, 'm') + bytes({5, 6, 7});
    EXPECT_EQ(fails(bigMap), "loaded");
    EXPECT_EQ(row(load(bigMap), 0), (std::vector<uint8_t>{5, 6, 7}));
}

TEST(TargaReader, MangledFilesNeverCrash)
{
    // Random damage to a valid run-length file: every outcome is a picture or a known error
    // (any other exception fails the test; reads or writes outside a buffer fail it under
    // the sanitizers).
    std::string base = header(9, 5, 4, 8, 0x20, 2, 1, 3, 24) + "id" + std::string(9, 'p') +
                       bytes({0x84, 1, 0x02, 2, 0, 1, 0x8B, 2, 0x01, 0, 1});
    std::mt19937 rng(1234);
    int loaded = 0, refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string file = base;
        int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e)
            file[rng() % file.size()] = char(rng());
        if (rng() % 4 == 0)
            file.resize(rng() % file.size());
        ReadOnlyMemoryStream s(file);
        TTargaGraphic g;
        try {
            g.LoadFromStream(s);
            ++loaded;
        } catch (const ReadError&) {
            ++refused;
        } catch (const EInvalidGraphic&) {
            ++refused;
        } catch (const EGraphicCompression&) {
            ++refused;
        } catch (const EColorConversionError&) {
            ++refused;
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
