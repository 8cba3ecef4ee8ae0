// The platform's bitmap, streams and picture registry, as the image readers use them.
#include "platform/Bitmap.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(Streams, MemoryStreamReadWriteSeek)
{
    MemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Size(), 5u);
    EXPECT_EQ(m.Position(), 5u);
    m.SetPosition(8);   // past the end is allowed; a write fills the gap with zeros
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.View(), std::string_view("hello\0\0\0!", 9));
    m.SetPosition(1);
    char buf[4] = {};
    m.ReadBuffer(buf, 4);
    EXPECT_EQ(std::string(buf, 4), "ello");
    EXPECT_EQ(m.Seek(-2, SeekOrigin::Current), 3u);
    EXPECT_EQ(m.Seek(-1, SeekOrigin::End), 8u);
    EXPECT_EQ(m.Remaining(), 1u);
    EXPECT_THROW(m.ReadBuffer(buf, 2), ReadError);
    EXPECT_THROW(m.Seek(-10, SeekOrigin::Current), StreamError);
    m.SetPosition(100);
    EXPECT_EQ(m.Read(buf, 4), 0u);
    EXPECT_EQ(m.Remaining(), 0u);
}

TEST(Streams, ReadOnlyViewAndFile)
{
    std::string bytes = "abcdef";
    ReadOnlyMemoryStream r(bytes);
    char buf[8] = {};
    EXPECT_EQ(r.Read(buf, 8), 6u);
    EXPECT_EQ(r.Read(buf, 8), 0u);
    EXPECT_THROW(r.WriteBuffer("x", 1), StreamError);
    EXPECT_THROW(r.Seek(-7, SeekOrigin::End), StreamError);
    r.ReadBuffer(buf, 0);   // reading nothing never fails

    TempDir dir;
    std::string path = dir.File("s.bin");
    {
        FileStream f(path, FileStream::Mode::Create);
        f.WriteBuffer("0123456789", 10);
        EXPECT_EQ(f.Size(), 10u);
    }
    FileStream f(path, FileStream::Mode::OpenRead);
    EXPECT_EQ(f.Size(), 10u);
    f.SetPosition(7);
    f.ReadBuffer(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_THROW(f.ReadBuffer(buf, 1), ReadError);
    EXPECT_EQ(f.Seek(2, SeekOrigin::Begin), 2u);
    EXPECT_THROW(FileStream(dir.File("none"), FileStream::Mode::OpenRead), StreamError);
}

TEST(BitmapTest, FormatsSizesAndRows)
{
    struct Case {
        PixelFormat format;
        uint32_t width;
        std::size_t stride;
    };
    for (Case c : {Case{PixelFormat::Bits1, 9, 2}, Case{PixelFormat::Bits4, 3, 2}, Case{PixelFormat::Bits8, 3, 3},
                   Case{PixelFormat::Bits15, 3, 6}, Case{PixelFormat::Bits16, 3, 6}, Case{PixelFormat::Bits24, 3, 9},
                   Case{PixelFormat::Bits32, 3, 12}}) {
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(c.width, 2);
        EXPECT_EQ(b.BytesPerRow(), c.stride) << BitsPerPixel(c.format);
        EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), std::ptrdiff_t(c.stride));
    }
    Bitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_THROW(b.ScanLine(0), std::out_of_range);
    EXPECT_THROW(b.SetPixelFormat(PixelFormat::Custom), EInvalidGraphic);
    b.SetPixelFormat(PixelFormat::Bits8);
    b.SetSize(2, 2);
    b.ScanLine(0)[0] = 1, b.ScanLine(0)[1] = 2, b.ScanLine(1)[0] = 3;
    b.SetSize(3, 1);   // keeps the shared area, new pixels zero
    EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 3), (std::vector<uint8_t>{1, 2, 0}));
    EXPECT_THROW(b.ScanLine(1), std::out_of_range);
    EXPECT_THROW(b.SetSize(65536, 65536), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 3u) << "a refused size changes nothing";
    b.Clear();
    EXPECT_EQ(b.GetPixelFormat(), PixelFormat::None);
    EXPECT_TRUE(b.Empty());
}

TEST(BitmapTest, OneAndFourBitPixelsBecomeEightBit)
{
    Bitmap one;
    one.SetPixelFormat(PixelFormat::Bits1);
    one.SetSize(10, 1);
    one.ScanLine(0)[0] = 0b1011'0001;
    one.ScanLine(0)[1] = 0b0100'0000;
    one.SetPixelFormat(PixelFormat::Bits8);
    EXPECT_EQ(std::vector<uint8_t>(one.ScanLine(0), one.ScanLine(0) + 10),
              (std::vector<uint8_t>{1, 0, 1, 1, 0, 0, 0, 1, 0, 1}));
    Bitmap four;
    four.SetPixelFormat(PixelFormat::Bits4);
    four.SetSize(3, 1);
    four.ScanLine(0)[0] = 0xA5;
    four.ScanLine(0)[1] = 0xF0;
    four.SetPixelFormat(PixelFormat::Bits8);
    EXPECT_EQ(std::vector<uint8_t>(four.ScanLine(0), four.ScanLine(0) + 3), (std::vector<uint8_t>{10, 5, 15}));
}

TEST(BitmapTest, FillAndAssign)
{
    const uint32_t colour = 0x00C08040;   // red 0x40, green 0x80, blue 0xC0
    struct Case {
        PixelFormat format;
        std::vector<uint8_t> pixel;
    };
    for (const Case& c : {Case{PixelFormat::Bits24, {0xC0, 0x80, 0x40}}, Case{PixelFormat::Bits32, {0xC0, 0x80, 0x40, 0}},
                          Case{PixelFormat::Bits15, {0x18, 0x22}},   // 01000 10000 11000
                          Case{PixelFormat::Bits16, {0x18, 0x44}}}) {  // 01000 100000 11000
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(2, 2);
        b.Fill(colour);
        std::size_t n = c.pixel.size();
        EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(1) + n, b.ScanLine(1) + 2 * n), c.pixel) << BitsPerPixel(c.format);
    }
    Bitmap indexed;
    indexed.SetPixelFormat(PixelFormat::Bits4);
    indexed.SetSize(3, 1);
    indexed.SetPalette(Palette::Create({0x300, {{0, 0, 0, 0}, {255, 255, 255, 0}, {0x40, 0x90, 0xB0, 0}}}));
    indexed.Fill(colour);
    EXPECT_EQ(indexed.ScanLine(0)[0], 0x22);
    EXPECT_EQ(indexed.ScanLine(0)[1], 0x22);

    // A 1-bit pixel can only name entries 0 and 1, however close a later entry is.
    Bitmap mono;
    mono.SetPixelFormat(PixelFormat::Bits1);
    mono.SetSize(8, 1);
    mono.SetPalette(Palette::Create({0x300, {{0, 0, 0, 0}, {255, 255, 255, 0}, {0x40, 0x80, 0xC0, 0}}}));
    mono.Fill(colour);
    EXPECT_EQ(mono.ScanLine(0)[0], 0xFF) << "white is nearer than black";

    Bitmap copy;
    copy.Assign(indexed);
    EXPECT_EQ(copy.GetPixelFormat(), PixelFormat::Bits4);
    EXPECT_EQ(copy.GetPalette(), indexed.GetPalette());
    indexed.ScanLine(0)[0] = 0;
    EXPECT_EQ(copy.ScanLine(0)[0], 0x22) << "a copy owns its pixels";
}

TEST(BitmapTest, PalettesAndProgress)
{
    LogicalPalette big;
    big.entries.resize(257);
    EXPECT_THROW(Palette::Create(big), EInvalidGraphic);
    big.entries.resize(256);
    EXPECT_EQ(Palette::Create(big).Count(), 256);
    big.version = 0x200;
    EXPECT_THROW(Palette::Create(big), EInvalidGraphic);

    Bitmap b;
    int calls = 0;
    b.Progress(ProgressStage::Starting, 0, false, {}, "no handler yet");
    b.SetOnProgress([&](Bitmap& sender, ProgressStage stage, uint8_t percent, bool, const Rect& r, const std::string& m) {
        ++calls;
        EXPECT_EQ(&sender, &b);
        EXPECT_EQ(stage, ProgressStage::Running);
        EXPECT_EQ(percent, 40);
        EXPECT_EQ(r, (Rect{0, 1, 5, 2}));
        EXPECT_EQ(m, "m");
    });
    b.Progress(ProgressStage::Running, 40, true, {0, 1, 5, 2}, "m");
    EXPECT_EQ(calls, 1);
    MemoryStream s;
    EXPECT_THROW(b.SaveToStream(s), EInvalidGraphic) << "a plain bitmap has no file format";
    // Saving to a file that cannot be written leaves the old file whole.
    TempDir dir;
    std::string old = dir.Write("old.bmp", "keep me");
    EXPECT_THROW(b.SaveToFile(old), EInvalidGraphic);
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(old, kept));
    EXPECT_EQ(kept, "keep me");
}

TEST(PictureRegistry, ByExtension)
{
    static int created = 0;
    struct Probe : Bitmap {
        void LoadFromStream(Stream& s) override
        {
            char c;
            s.ReadBuffer(&c, 1);
            SetPixelFormat(PixelFormat::Bits8);
            SetSize(uint8_t(c), 1);
        }
    };
    static const GraphicClass probe{"Probe", [] { ++created; return std::unique_ptr<Bitmap>(new Probe); }};
    static const GraphicClass other{"Other", [] { return std::unique_ptr<Bitmap>(new Bitmap); }};
    PictureFormats formats;
    formats.RegisterFileFormat("prb", "Probe files", probe);
    formats.RegisterFileFormat("PRB", "Probe files again", probe);
    ASSERT_EQ(formats.Formats().size(), 1u) << "the same extension, ignoring case, is replaced";
    formats.RegisterFileFormat("oth", "", other);
    EXPECT_EQ(formats.ClassOf("Prb"), &probe);

    TempDir dir;
    auto p = formats.LoadFromFile(dir.Write("a.b.PRB", "\x07"));
    EXPECT_EQ(p->Width(), 7u);
    EXPECT_EQ(created, 1);
    EXPECT_THROW(formats.LoadFromFile(dir.Write("noext", "\x07")), EInvalidGraphic);
    EXPECT_THROW(formats.LoadFromFile(dir.Write("a.prb", "")), ReadError);
    formats.UnregisterGraphicClass(probe);
    EXPECT_EQ(formats.ClassOf("prb"), nullptr);
    EXPECT_EQ(formats.ClassOf("oth"), &other);
}

} // namespace
