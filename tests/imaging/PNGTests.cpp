// What the PNG fixtures cannot show: the background colour in the rows that image data
// never reached, and the transparent colour a tRNS chunk gives the bitmap.
#include "ImagingTests.h"
#include "imaging/PNG.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;

void be32(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char(v >> shift);
}

void chunk(std::string& out, const char* type, const Bytes& data)
{
    std::string body = type + std::string(data.begin(), data.end());
    be32(out, uint32_t(data.size()));
    out += body;
    be32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

// A 2 x 2 picture whose image data holds its first row only: the stream is flushed but not
// ended, as when a file's last IDAT chunks are missing.
std::string firstRowOnly(uint8_t colourType, uint8_t depth, const Bytes& firstRow,
                         const std::vector<std::pair<const char*, Bytes>>& chunks)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    chunk(png, "IHDR", {0, 0, 0, 2, 0, 0, 0, 2, depth, colourType, 0, 0, 0});
    for (const auto& [type, data] : chunks)
        chunk(png, type, data);
    Bytes raw{0};   // filter: none
    raw.insert(raw.end(), firstRow.begin(), firstRow.end());
    z_stream z{};
    deflateInit(&z, 9);
    Bytes packed(200);
    z.next_in = raw.data();
    z.avail_in = uInt(raw.size());
    z.next_out = packed.data();
    z.avail_out = uInt(packed.size());
    deflate(&z, Z_SYNC_FLUSH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    return png;
}

// Blue, green, red of a pixel, whatever the bitmap's format.
Bytes colourAt(const Bitmap& picture, uint32_t x, uint32_t y)
{
    Bitmap copy(picture);
    copy.ConvertTo24Bits();
    const uint8_t* p = copy.ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST(PNGReader, BackgroundWhereDataEndsAndTransparentColour)
{
    const Bytes palette{10, 20, 30, 40, 50, 60, 70, 80, 90};
    struct Case {
        const char* what;
        uint8_t colourType, depth;
        Bytes firstRow;
        std::vector<std::pair<const char*, Bytes>> chunks;
        Bytes loaded, background;   // blue, green, red of row 0 and row 1
        int64_t transparent;        // -1: none
    };
    const Case cases[] = {
        {"grey level", 0, 8, {5, 6}, {{"bKGD", {0, 0x80}}, {"tRNS", {0, 0x10}}}, {5, 5, 5}, {128, 128, 128}, 0x101010},
        {"2-bit grey level, as an 8-bit grey", 0, 2, {0x40}, {{"bKGD", {0, 2}}, {"tRNS", {0, 1}}}, {85, 85, 85},
         {170, 170, 170}, 0x555555},
        {"palette index, as that entry", 3, 2, {0x40}, {{"PLTE", palette}, {"bKGD", {2}}}, {60, 50, 40}, {90, 80, 70}, -1},
        {"no background: white", 2, 8, {1, 2, 3, 4, 5, 6}, {{"tRNS", {0, 10, 0, 20, 0, 30}}}, {3, 2, 1},
         {255, 255, 255}, 0x1E140A},
        {"16-bit colour", 2, 16, Bytes(12, 0), {{"bKGD", {0xFF, 0xFF, 0x80, 0x80, 0, 0}}}, {0, 0, 0}, {0, 128, 255}, -1},
    };
    for (const Case& c : cases) {
        std::string file = firstRowOnly(c.colourType, c.depth, c.firstRow, c.chunks);
        ReadOnlyMemoryStream s(file);
        TPNGGraphic png;
        EXPECT_EQ(ReaderError([&] { png.LoadFromStream(s); }), "") << c.what;
        EXPECT_EQ(colourAt(png, 0, 0), c.loaded) << c.what;
        EXPECT_EQ(colourAt(png, 1, 1), c.background) << c.what;
        EXPECT_EQ(png.GetTransparent() ? int64_t(png.GetTransparentColor()) : -1, c.transparent) << c.what;
    }
}

} // namespace
