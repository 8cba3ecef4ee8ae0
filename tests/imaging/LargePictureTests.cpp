// Pictures whose file samples pass the picture cap though the bitmap made of them does not:
// they load, as the cap holds for the bitmap and for what a reader holds at one time (a row,
// a strip, a plane, packed data). The files are made here, so that tests/data stays small;
// the fixture folders show pictures whose bitmap passes the cap refused with their size.
#include "ImagingTests.h"
#include "imaging/PNG.h"
#include "imaging/PSD.h"
#include "imaging/PSP.h"
#include "imaging/TIFF.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

namespace {

// 16-bit RGB: 288 MB of samples, a 144 MB bitmap.
constexpr uint32_t kWidth = 8000, kHeight = 6000;
using Colour = std::array<uint8_t, 3>;   // blue, green, red
using AddRow = std::function<void(const std::string&)>;

// Row y's colour; stored in 16 bits as v * 257, which comes back in 8 bits as v.
Colour rowColour(uint32_t y)
{
    return {77, uint8_t(y >> 8), uint8_t(y)};
}

// width pixels of row y's colour: red, green, blue in 16 bits.
std::string row48(uint32_t width, uint32_t y)
{
    const Colour c = rowColour(y);
    const char pixel[6] = {char(c[2]), char(c[2]), char(c[1]), char(c[1]), char(c[0]), char(c[0])};
    std::string row;
    for (uint32_t x = 0; x < width; ++x)
        row.append(pixel, sizeof pixel);
    return row;
}

std::string text(const ByteWriter& w)
{
    return std::string(w.View());
}

// The rows that makeRows adds, deflated as they come.
std::string deflated(const std::function<void(const AddRow&)>& makeRows)
{
    z_stream z{};
    deflateInit(&z, 1);
    std::string out;
    auto run = [&](const std::string& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        z.avail_in = uInt(in.size());
        do {
            char buffer[1 << 16];
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, sizeof buffer - z.avail_out);
        } while (z.avail_out == 0);
    };
    makeRows([&](const std::string& row) { run(row, Z_NO_FLUSH); });
    run({}, Z_FINISH);
    deflateEnd(&z);
    return out;
}

// 16-bit RGB, every row unfiltered, plain or in Adam7's passes (first row, first column, steps).
std::string png48(bool interlaced)
{
    ByteWriter png;
    png.Bytes("\x89PNG\r\n\x1a\n");
    auto chunk = [&](const char* type, const std::string& data) {
        const std::string body = type + data;
        png.U32BE(uint32_t(data.size()));
        png.Bytes(body);
        png.U32BE(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    };
    ByteWriter header;
    header.U32BE(kWidth);
    header.U32BE(kHeight);
    header.Bytes(std::string("\x10\x02\0\0", 4) + char(interlaced));
    chunk("IHDR", text(header));
    const std::vector<std::array<uint32_t, 4>> passes =
        interlaced ? std::vector<std::array<uint32_t, 4>>{{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                                          {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}}
                   : std::vector<std::array<uint32_t, 4>>{{0, 0, 1, 1}};
    chunk("IDAT", deflated([&](const AddRow& add) {
              for (const auto& [y0, x0, dy, dx] : passes)
                  for (uint32_t y = y0; y < kHeight; y += dy)
                      add('\0' + row48((kWidth - x0 + dx - 1) / dx, y));
          }));
    chunk("IEND", "");
    return text(png);
}

// Little-endian 16-bit RGB in strips of rowsPerStrip rows, deflated (compression 8) or not (1).
std::string tiff48(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip)
{
    std::vector<std::string> strips;
    for (uint32_t first = 0; first < height; first += rowsPerStrip) {
        auto rows = [&](const AddRow& add) {
            for (uint32_t y = first; y < std::min(height, first + rowsPerStrip); ++y)
                add(row48(width, y));
        };
        std::string strip;
        if (compression == 8)
            strip = deflated(rows);
        else
            rows([&](const std::string& row) { strip += row; });
        strips.push_back(std::move(strip));
    }
    // The bits per sample follow the directory, then the strip offsets and byte counts.
    const uint32_t count = uint32_t(strips.size()), lists = 8 + 2 + 9 * 12 + 4 + 6;
    uint32_t at = lists + 8 * count;
    ByteWriter w;
    w.Bytes("II");
    w.U16LE(42);
    w.U32LE(8);
    w.U16LE(9);
    for (auto [tag, type, n, value] :
         {std::array<uint32_t, 4>{256, 4, 1, width}, {257, 4, 1, height}, {258, 3, 3, lists - 6}, {259, 3, 1, compression},
          {262, 3, 1, 2}, {273, 4, count, count == 1 ? at : lists}, {277, 3, 1, 3}, {278, 4, 1, rowsPerStrip},
          {279, 4, count, count == 1 ? uint32_t(strips[0].size()) : lists + 4 * count}}) {
        w.U16LE(uint16_t(tag));
        w.U16LE(uint16_t(type));
        w.U32LE(n);
        w.U32LE(value);
    }
    w.U32LE(0);
    for (int i = 0; i < 3; ++i)
        w.U16LE(16);
    for (const std::string& strip : strips)
        w.U32LE(std::exchange(at, at + uint32_t(strip.size())));
    for (const std::string& strip : strips)
        w.U32LE(uint32_t(strip.size()));
    for (const std::string& strip : strips)
        w.Bytes(strip);
    return text(w);
}

// 16-bit RGB Photoshop, PackBits: each row of a channel is one byte repeated, in runs of 128.
std::string psd48()
{
    ByteWriter w;
    w.Bytes("8BPS");
    w.U16BE(1);
    w.Bytes(std::string(6, '\0'));
    w.U16BE(3);
    w.U32BE(kHeight);
    w.U32BE(kWidth);
    w.U16BE(16);
    w.U16BE(3);                      // RGB
    w.Bytes(std::string(12, '\0'));  // no colour mode data, resources or layers
    w.U16BE(1);
    const uint32_t runs = kWidth * 2 / 128;
    for (uint32_t i = 0; i < 3 * kHeight; ++i)
        w.U16BE(uint16_t(2 * runs));
    for (int channel = 2; channel >= 0; --channel)
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t r = 0; r < runs; ++r) {
                w.U8(0x81);
                w.U8(rowColour(y)[std::size_t(channel)]);
            }
    return text(w);
}

// 8-bit Paint Shop Pro (version 4), run-length: row y is palette index y % 251 throughout;
// entry i is red i, green 255 - i, blue 3i.
std::string psp8(uint32_t width, uint32_t height)
{
    auto block = [](uint16_t id, const std::string& content) {
        ByteWriter w;
        w.Bytes(std::string("~BK\0", 4));
        w.U16LE(id);
        w.U32LE(uint32_t(content.size()));
        return text(w) + content;
    };
    auto chunk = [](const ByteWriter& content) {
        ByteWriter w;
        w.U32LE(uint32_t(content.Size() + 4));
        return text(w) + text(content);
    };
    ByteWriter attributes, palette, packed, channel, layer, counts, head;
    for (uint32_t v : {width, height, 0u, 0u})
        attributes.U32LE(v);   // size, resolution
    attributes.U8(1);
    for (uint16_t v : {1, 8, 1})
        attributes.U16LE(v);   // run-length, 8 bits, one plane
    attributes.U32LE(256);
    attributes.U8(0);
    attributes.U32LE(width * height);
    attributes.U32LE(0);
    attributes.U16LE(1);
    attributes.U32LE(1);
    palette.U32LE(256);
    for (uint32_t i = 0; i < 256; ++i)
        palette.U32LE(3 * i % 256 | (255 - i) << 8 | i << 16);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; x += 127) {
            packed.U8(uint8_t(128 + std::min(width - x, 127u)));
            packed.U8(uint8_t(y % 251));
        }
    channel.U32LE(uint32_t(packed.Size()));
    channel.U32LE(width * height);
    channel.U32LE(0);   // the image's bitmap, composite channel
    layer.U16LE(6);
    layer.Bytes("Raster\x01");
    layer.Bytes(std::string(114, '\0'));
    counts.U32LE(1 | 1 << 16);   // one bitmap, one channel
    head.FixedString("Paint Shop Pro Image File\n\x1a", 32);
    head.U32LE(4);
    return text(head) + block(0, chunk(attributes)) + block(2, chunk(palette)) +
           block(3, block(4, chunk(layer) + chunk(counts) + block(5, chunk(channel) + text(packed))));
}

Colour pixel(const Bitmap& b, uint32_t x, uint32_t y)
{
    const uint8_t* row = b.ScanLine(y);
    if (b.GetPixelFormat() == PixelFormat::Bits8) {
        const auto& entry = b.GetPalette().Entries().at(row[x]);
        return {entry.blue, entry.green, entry.red};
    }
    return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
}

template <class T>
std::unique_ptr<TRasterGraphic> make()
{
    return std::make_unique<T>();
}

TEST(LargePictures, SamplesBeyondTheCapLoadWhenTheBitmapFitsIt)
{
    const struct {
        const char* what;
        std::function<std::string()> file;
        std::unique_ptr<TRasterGraphic> (*reader)();
        uint32_t width, height;
        Colour (*colour)(uint32_t y);
    } cases[] = {
        {"16-bit RGB PNG", [] { return png48(false); }, make<TPNGGraphic>, kWidth, kHeight, rowColour},
        {"16-bit RGB PNG, interlaced", [] { return png48(true); }, make<TPNGGraphic>, kWidth, kHeight, rowColour},
        {"16-bit RGB deflate TIFF", [] { return tiff48(kWidth, kHeight, 8, 16); }, make<TTIFFGraphic>, kWidth, kHeight,
         rowColour},
        // The planes would be 288 MB; the packed rows are what is held.
        {"16-bit RGB Photoshop, PackBits", psd48, make<TPSDGraphic>, kWidth, kHeight, rowColour},
        // 32 bits a pixel would be 288 MB; the bitmap and the plane are 72 MB each.
        {"8-bit Paint Shop Pro", [] { return psp8(9000, 8000); }, make<TPSPGraphic>, 9000, 8000,
         [](uint32_t y) {
             uint8_t i = uint8_t(y % 251);
             return Colour{uint8_t(3 * i), uint8_t(255 - i), i};
         }},
        // Not beyond the cap: an uncompressed strip of 2.4 MB, read a megabyte at a time.
        {"uncompressed TIFF strip in pieces", [] { return tiff48(1000, 400, 1, 400); }, make<TTIFFGraphic>, 1000, 400,
         rowColour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = c.file();
        ReadOnlyMemoryStream stream(file);
        std::unique_ptr<TRasterGraphic> picture = c.reader();
        const std::string error = ReaderError([&] { picture->LoadFromStream(stream); });
        EXPECT_EQ(error, "");
        if (!error.empty())
            continue;
        ASSERT_EQ(std::pair(picture->Width(), picture->Height()), std::pair(c.width, c.height));
        for (uint32_t y : {0u, 1u, 7u, 345u, c.height - 1})
            for (uint32_t x : {0u, 1u, 3u, 432u, c.width - 1})
                EXPECT_EQ(pixel(*picture, x, y), c.colour(y)) << x << ", " << y;
    }
}

} // namespace
