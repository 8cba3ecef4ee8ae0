// Pictures: our bitmaps as Qt images in every pixel format (scaled down when they pass the
// pixels asked for), the image box, and the preview of a damaged file.
#include "UiTestSupport.h"

#include <cstring>

#include "support/TgaBuilder.h"
#include "ui/ImageView.h"

namespace {
struct Conversion {
    const char* what;
    PixelFormat format;
    uint32_t width;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<PaletteEntry> palette;
    std::vector<QRgb> pixels; // row by row, 0xRRGGBB; as many as the image may show
    uint32_t step = 1;        // of the pixels shown
};
}

TEST(Pictures, EveryPixelFormatBecomesTheSameColours)
{
    const PaletteEntry p0{10, 20, 30}, p1{200, 100, 50}, p2{1, 2, 3};
    const Conversion cases[] = {
        {"1 bit across a byte", PixelFormat::Bits1, 10, {{0xB0, 0x40}}, {p0, p1},
         {0xC86432, 0x0A141E, 0xC86432, 0xC86432, 0x0A141E, 0x0A141E, 0x0A141E, 0x0A141E, 0x0A141E, 0xC86432}},
        {"4 bits, index past the palette", PixelFormat::Bits4, 3, {{0x2F, 0x10}}, {p0, p1, p2},
         {0x010203, 0x000000, 0xC86432}},
        {"8 bits, two rows", PixelFormat::Bits8, 2, {{0, 2}, {1, 255}}, {p0, p1, p2},
         {0x0A141E, 0x010203, 0xC86432, 0x000000}},
        {"8 bits, no palette: grey", PixelFormat::Bits8, 3, {{0, 128, 255}}, {}, {0x000000, 0x808080, 0xFFFFFF}},
        {"15 bits", PixelFormat::Bits15, 5, {{0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42}}, {},
         {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x848484}},
        {"16 bits", PixelFormat::Bits16, 5, {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x41, 0x08, 0x00, 0x80}}, {},
         {0xFF0000, 0x00FF00, 0x0000FF, 0x080808, 0x840000}},
        {"24 bits", PixelFormat::Bits24, 2, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 0, 0, 0}}, {},
         {0x030201, 0x060504, 0x090807, 0x000000}},
        {"32 bits, alpha ignored", PixelFormat::Bits32, 2, {{1, 2, 3, 0, 4, 5, 6, 255}}, {}, {0x030201, 0x060504}},
        {"8 bits, every second pixel of every second row", PixelFormat::Bits8, 3, {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}}, {},
         {0x000000, 0x020202, 0x060606, 0x080808}, 2},
        {"24 bits, every second pixel", PixelFormat::Bits24, 3, {{1, 2, 3, 4, 5, 6, 7, 8, 9}}, {}, {0x030201, 0x090807}, 2},
    };
    for (const Conversion& c : cases) {
        Bitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(c.width, uint32_t(c.rows.size()));
        for (uint32_t y = 0; y < b.Height(); ++y) std::memcpy(b.ScanLine(y), c.rows[y].data(), b.BytesPerRow());
        if (!c.palette.empty()) b.SetPalette(Palette::Create({0x300, c.palette}));
        const QImage image = ImageFromBitmap(b, c.pixels.size());
        const int width = int((c.width + c.step - 1) / c.step);
        ASSERT_EQ(image.size(), QSize(width, int((c.rows.size() + c.step - 1) / c.step))) << c.what;
        for (int i = 0; i < int(c.pixels.size()); ++i)
            EXPECT_EQ(image.pixel(i % width, i / width), 0xFF000000u | c.pixels[std::size_t(i)]) << c.what << ", pixel " << i;
    }
}

TEST_F(UiTest, ADamagedPictureOnlyEmptiesItsPreview)
{
    TImage box(nullptr, "Image1");
    const std::string good = dir.Write("good.tga", TgaHeader(2, 2, 1, 24) + std::string("\x10\x20\x30\x40\x50\x60", 6));
    const std::string damaged = dir.Write("damaged.tga", TgaHeader(2, 64, 64, 24) + "\x10\x20");
    box.LoadPicture(good);
    EXPECT_EQ(box.Image().pixel(1, 0), 0xFF605040u);
    EXPECT_THROW(box.LoadPicture(damaged), std::exception);
    EXPECT_FALSE(box.Image().isNull()) << "a reader's error leaves the box as it was";

    // Through the preview the damaged file empties the box, says so, and goes no further.
    EXPECT_FALSE(ShowPreview(&box, [&] { box.LoadPicture(damaged); }));
    EXPECT_TRUE(box.Image().isNull() && box.pixmap().isNull());
    EXPECT_EQ(box.text(), "Unreadable picture");
    EXPECT_TRUE(ShowPreview(&box, [&] { box.LoadPicture(good); }) && box.text().isEmpty());
}
