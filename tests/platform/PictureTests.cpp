// The bitmap and picture registry, as the image readers use them.
#include "platform/Bitmap.h"
#include "platform/ByteIO.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes pixels(const Bitmap& b, uint32_t y, std::size_t from, std::size_t to)
{
    return Bytes(b.ScanLine(y) + from, b.ScanLine(y) + to);
}

TEST(BitmapTest, FormatsSizesAndRows)
{
    // Row bytes per format, and 1- and 4-bit indices widened to 8 bits.
    struct Case {
        PixelFormat format;
        uint32_t width;
        std::size_t stride;
        Bytes packed = {}, widened = {};
    };
    for (const Case& c : {Case{PixelFormat::Bits1, 10, 2, {0b1011'0001, 0b0100'0000}, {1, 0, 1, 1, 0, 0, 0, 1, 0, 1}},
                          Case{PixelFormat::Bits4, 3, 2, {0xA5, 0xF0}, {10, 5, 15}}, Case{PixelFormat::Bits8, 3, 3},
                          Case{PixelFormat::Bits15, 3, 6}, Case{PixelFormat::Bits16, 3, 6},
                          Case{PixelFormat::Bits24, 3, 9}, Case{PixelFormat::Bits32, 3, 12}}) {
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(c.width, 2);
        EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), std::ptrdiff_t(c.stride)) << BitsPerPixel(c.format);
        if (c.packed.empty())
            continue;
        std::copy(c.packed.begin(), c.packed.end(), b.ScanLine(0));
        b.SetPixelFormat(PixelFormat::Bits8);
        EXPECT_EQ(pixels(b, 0, 0, c.width), c.widened);
    }
    Bitmap b;
    EXPECT_THROW(b.ScanLine(0), std::out_of_range);
    EXPECT_THROW(b.SetPixelFormat(PixelFormat::Custom), EInvalidGraphic);
    b.SetPixelFormat(PixelFormat::Bits8);
    b.SetSize(2, 2);
    b.ScanLine(0)[0] = 1, b.ScanLine(0)[1] = 2, b.ScanLine(1)[0] = 3;
    b.SetSize(3, 1);   // keeps the shared area, new pixels zero
    EXPECT_EQ(pixels(b, 0, 0, 3), (Bytes{1, 2, 0}));
    EXPECT_THROW(b.ScanLine(1), std::out_of_range);
    EXPECT_THROW(b.SetSize(65536, 65536), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 3u) << "a refused size changes nothing";
}

TEST(BitmapTest, FillAndAssign)
{
    const uint32_t colour = 0x00C08040;   // red 0x40, green 0x80, blue 0xC0
    const LogicalPalette entries{0x300, {{0, 0, 0, 0}, {255, 255, 255, 0}, {0x40, 0x90, 0xB0, 0}}};
    struct Case {
        PixelFormat format;
        Bytes pixel;
    };
    for (const Case& c : {Case{PixelFormat::Bits24, {0xC0, 0x80, 0x40}}, Case{PixelFormat::Bits32, {0xC0, 0x80, 0x40, 0}},
                          Case{PixelFormat::Bits15, {0x18, 0x22}},    // 01000 10000 11000
                          Case{PixelFormat::Bits16, {0x18, 0x44}},    // 01000 100000 11000
                          Case{PixelFormat::Bits4, {0x22}},           // the nearest entry
                          Case{PixelFormat::Bits1, {0xFF}}}) {        // 1-bit pixels name entries 0 and 1 only
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(16, 2);
        b.SetPalette(Palette::Create(entries));
        b.Fill(colour);
        b.SetTransparentColor(colour);
        b.SetTransparent(true);
        std::size_t n = c.pixel.size();
        EXPECT_EQ(pixels(b, 1, n, 2 * n), c.pixel) << BitsPerPixel(c.format);

        Bitmap copy;
        copy.Assign(b);
        b.ScanLine(1)[n] = 0x99;
        EXPECT_EQ(pixels(copy, 1, n, 2 * n), c.pixel) << "a copy owns its pixels";
        EXPECT_EQ(copy.GetPalette(), b.GetPalette());
        EXPECT_TRUE(copy.GetTransparent() && copy.GetTransparentColor() == colour);
    }
}

TEST(BitmapTest, ConvertTo24BitsKeepsWhatPixelsShow)
{
    const LogicalPalette entries{0x300, {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}}};
    struct Case {
        PixelFormat format;
        Bytes row;        // two pixels
        Bytes expected;   // blue, green, red of each
    };
    for (const Case& c : {
             Case{PixelFormat::Bits1, {0b0100'0000}, {30, 20, 10, 60, 50, 40}},
             Case{PixelFormat::Bits4, {0x23}, {90, 80, 70, 0, 0, 0}},   // past the palette: black
             Case{PixelFormat::Bits8, {2, 0}, {90, 80, 70, 30, 20, 10}},
             Case{PixelFormat::Bits15, {0x1F, 0x7C, 0x10, 0x42}, {255, 0, 255, 132, 132, 132}},   // 5-bit fields widened
             Case{PixelFormat::Bits16, {0xE0, 0x07, 0x1F, 0xF8}, {0, 255, 0, 255, 0, 255}},
             Case{PixelFormat::Bits32, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 5, 6, 7}},
         }) {
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(2, 1);
        b.SetPalette(Palette::Create(entries));
        std::copy(c.row.begin(), c.row.end(), b.ScanLine(0));
        b.ConvertTo24Bits();
        EXPECT_EQ(b.GetPixelFormat(), PixelFormat::Bits24);
        EXPECT_EQ(pixels(b, 0, 0, 6), c.expected) << BitsPerPixel(c.format);
    }
}

TEST(BitmapTest, PalettesAndSaving)
{
    LogicalPalette big;
    big.entries.resize(257);
    EXPECT_THROW(Palette::Create(big), EInvalidGraphic);
    big.entries.resize(256);
    EXPECT_EQ(Palette::Create(big).Count(), 256);
    big.version = 0x200;
    EXPECT_THROW(Palette::Create(big), EInvalidGraphic);

    // An empty bitmap cannot be saved; trying leaves the old file whole.
    Bitmap b;
    TempDir dir;
    std::string old = dir.Write("old.bmp", "keep me");
    EXPECT_THROW(b.SaveToFile(old), EInvalidGraphic);
    EXPECT_EQ(dir.Read("old.bmp"), "keep me");
}

// Every pixel format is saved as a Windows bitmap and read back byte for byte, in its own
// format; an odd width makes the rows' padding matter. The fixtures (tests/data/images/bmp)
// hold the files of other encoders, and the ui tests read what is written here with Qt.
TEST(BitmapFile, EveryPixelFormatSavesAndReadsBack)
{
    const LogicalPalette three{0x300, {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}}};
    for (PixelFormat format : {PixelFormat::Bits1, PixelFormat::Bits4, PixelFormat::Bits8, PixelFormat::Bits15,
                               PixelFormat::Bits16, PixelFormat::Bits24, PixelFormat::Bits32}) {
        const int bits = BitsPerPixel(format);
        Bitmap b;
        b.SetPixelFormat(format);
        b.SetSize(5, 3);
        for (uint32_t y = 0; y < 3; ++y)
            for (std::size_t i = 0; i < b.BytesPerRow(); ++i)
                b.ScanLine(y)[i] = uint8_t(i * 37 + y * 101 + 1);
        if (bits <= 8)
            b.SetPalette(Palette::Create(three));
        MemoryStream out;
        b.SaveToStream(out);
        const Bytes& file = out.Data();
        ASSERT_GT(file.size(), 54u);
        EXPECT_EQ(file[28], bits == 15 ? 16 : bits) << bits;
        EXPECT_EQ(file[30], bits == 16 ? 3 : 0) << "5-6-5 words need their masks";
        EXPECT_EQ(LoadU32LE(file.data() + 2), file.size());

        Bitmap back;
        out.SetPosition(0);
        back.LoadFromStream(out);
        EXPECT_EQ(back.GetPixelFormat(), format) << bits;
        ASSERT_EQ(std::pair(back.Width(), back.Height()), std::pair(5u, 3u));
        for (uint32_t y = 0; y < 3; ++y)
            EXPECT_EQ(pixels(back, y, 0, b.BytesPerRow()), pixels(b, y, 0, b.BytesPerRow())) << bits << ", row " << y;
        if (bits <= 8) {
            // A full table of the depth: the palette (as much as the depth indexes), then black.
            const auto& entries = back.GetPalette().Entries();
            ASSERT_EQ(entries.size(), 1u << bits);
            EXPECT_EQ(entries[1], three.entries[1]);
            EXPECT_EQ(entries.back(), bits == 1 ? three.entries[1] : PaletteEntry{});
        }
    }
    // Without a palette, indices are written as the grey the editor shows them in.
    Bitmap grey;
    grey.SetPixelFormat(PixelFormat::Bits8);
    grey.SetSize(1, 1);
    MemoryStream out;
    grey.SaveToStream(out);
    out.SetPosition(0);
    grey.LoadFromStream(out);
    EXPECT_EQ(grey.GetPalette().Entries()[128], (PaletteEntry{128, 128, 128, 0}));
}

// Run-length data that strays: a run or a literal run past its row's end is cut there, a
// jump below the last row ends the picture, and skipped pixels are index 0.
TEST(BitmapFile, RunLengthDataStaysInsideThePicture)
{
    struct Case {
        const char* what;
        uint16_t bits;
        Bytes data;
        Bytes bottom, top;   // indices of the two 3-pixel rows
    };
    const Case cases[] = {
        {"RLE8 run past the end", 8, {5, 7, 0, 0, 1, 9, 0, 1}, {7, 7, 7}, {9, 0, 0}},
        {"RLE8 literal past the end", 8, {0, 4, 1, 2, 3, 4, 0, 0, 0, 1}, {1, 2, 3}, {0, 0, 0}},
        {"RLE8 jump below the picture", 8, {1, 5, 0, 2, 1, 9, 3, 3}, {5, 0, 0}, {0, 0, 0}},
        {"RLE4 runs alternate", 4, {4, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1}, {1, 2, 1}, {4, 5, 6}},
    };
    for (const Case& c : cases) {
        ByteWriter w;   // pixels right after the colour table: offset 0
        w.Bytes("BM", 2);
        for (uint32_t v : {0u, 0u, 0u, 40u, 3u, 2u})
            w.U32LE(v);
        w.U16LE(1);
        w.U16LE(c.bits);
        for (uint32_t v : {c.bits == 8 ? 1u : 2u, 0u, 0u, 0u, 0u, 0u})
            w.U32LE(v);
        for (int i = 0; i < (1 << c.bits); ++i)
            w.U32LE(uint32_t(i));
        w.Bytes(c.data.data(), c.data.size());
        ReadOnlyMemoryStream in(w.View());
        Bitmap b;
        b.LoadFromStream(in);
        b.SetPixelFormat(PixelFormat::Bits8);
        EXPECT_EQ(pixels(b, 1, 0, 3), c.bottom) << c.what;
        EXPECT_EQ(pixels(b, 0, 0, 3), c.top) << c.what;
    }
}

// Plain rows the file does not hold are refused before anything is made for them: a 54-byte
// header of 67,000,000 x 1 pixels of 32 bits leaves the bitmap empty (it once took 265 MB).
TEST(BitmapFile, RowsTheFileLacksAreRefusedBeforeTheyAreMade)
{
    ByteWriter w;
    w.Bytes("BM", 2);
    for (uint32_t v : {0u, 0u, 54u, 40u, 67000000u, 1u, 0x200001u, 0u, 0u, 0u, 0u, 0u, 0u})   // 1 plane, 32 bits
        w.U32LE(v);
    ReadOnlyMemoryStream in(w.View());
    Bitmap b;
    EXPECT_THROW(b.LoadFromStream(in), ReadError);
    EXPECT_TRUE(b.Empty());
}

TEST(PictureRegistry, ByTheExtensionAfterTheLastDotIgnoringCase)
{
    struct Probe : Bitmap {
        void LoadFromStream(Stream& s) override { SetPixelFormat(PixelFormat::Bits8), SetSize(s.U8(), 1); }
    };
    static const GraphicClass probe{"Probe", [] { return std::unique_ptr<Bitmap>(new Probe); }};
    static const GraphicClass other{"Other", [] { return std::unique_ptr<Bitmap>(new Bitmap); }};
    PictureFormats formats;
    formats.RegisterFileFormat("prb", "Probe files", other);
    formats.RegisterFileFormat("PRB", "Probe files again", probe);
    formats.RegisterFileFormat("oth", "", other);

    TempDir dir;
    EXPECT_EQ(formats.LoadFromFile(dir.Write("a.b.PRB", "\x07"))->Width(), 7u);
    EXPECT_THROW(formats.LoadFromFile(dir.Write("noext", "\x07")), EInvalidGraphic);
    formats.UnregisterGraphicClass(probe);
    EXPECT_EQ(formats.ClassOf("prb"), nullptr);
    EXPECT_EQ(formats.ClassOf("oth"), &other);
}

} // namespace
