#include "platform/BitmapFile.h"

#include "platform/ByteIO.h"
#include "platform/Sizes.h"
#include "platform/Stream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

enum Compression : uint32_t { kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3, kJPEG = 4, kPNG = 5, kAlphaBitFields = 6 };

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

[[noreturn]] void invalid(const std::string& why)
{
    throw EInvalidGraphic("Cannot load Windows bitmap: " + why + ".");
}

struct Header {
    uint32_t size = 0;      // of the info header
    int64_t width = 0, height = 0;
    uint16_t bits = 0;
    uint32_t compression = kRGB;
    uint32_t sizeImage = 0;
    uint32_t colours = 0;   // entries of the colour table, 0 for all the depth can index
    uint32_t masks[4] = {}; // red, green, blue, alpha
    bool core = false;      // 3-byte colour table entries
};

// The info header at the stream's position, and the masks that follow a version 3 one.
Header readInfoHeader(Stream& stream)
{
    Header h;
    h.size = stream.U32LE();
    const bool os2 = h.size == 16 || h.size == 64;
    if (h.size != 12 && !os2 && h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124)
        invalid("an info header of " + std::to_string(h.size) + " bytes is unknown");
    const std::string rest = stream.ReadString(h.size - 4);
    const auto* p = reinterpret_cast<const uint8_t*>(rest.data()) - 4;   // offsets from the header's start
    if (h.size == 12) {
        h.core = true;
        h.width = LoadU16LE(p + 4);
        h.height = LoadU16LE(p + 6);
        h.bits = LoadU16LE(p + 10);
        return h;
    }
    h.width = int32_t(LoadU32LE(p + 4));
    h.height = int32_t(LoadU32LE(p + 8));
    h.bits = LoadU16LE(p + 14);
    if (h.size == 16)
        return h;
    h.compression = LoadU32LE(p + 16);
    h.sizeImage = LoadU32LE(p + 20);
    h.colours = LoadU32LE(p + 32);
    // OS/2 numbers its own compressions 3 (Huffman) and 4 (24-bit run-length) differently.
    if (os2 && h.compression > kRLE4)
        invalid("OS/2 compression " + std::to_string(h.compression) + " is not supported");
    if (h.compression != kBitFields && h.compression != kAlphaBitFields)
        return h;
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    if (h.size >= 52) {
        for (int i = 0; i < 3; ++i)
            h.masks[i] = LoadU32LE(p + 40 + 4 * i);
        if (h.size >= 56)
            h.masks[3] = LoadU32LE(p + 52);
    } else {
        for (int i = 0; i < count; ++i)
            h.masks[i] = stream.U32LE();
    }
    return h;
}

// One colour field of a pixel, widened or narrowed to eight bits.
struct Field {
    uint32_t mask = 0;
    int shift = 0, bits = 0;

    explicit Field(uint32_t m) : mask(m)
    {
        if (!m)
            return;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
        if (bits < 32 && (m >> shift) != (uint32_t(1) << bits) - 1)
            invalid("a bit-field mask is not one run of bits");
    }
    uint8_t operator()(uint32_t pixel) const
    {
        if (!mask)
            return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return uint8_t(v >> (bits - 8));
        uint32_t max = (uint32_t(1) << bits) - 1;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

struct Layout {
    PixelFormat format;
    bool copy;   // file rows are already bitmap rows
};

Layout layoutOf(const Header& h)
{
    switch (h.bits) {
    case 1: return {PixelFormat::Bits1, true};
    case 4: return {PixelFormat::Bits4, true};
    case 8: return {PixelFormat::Bits8, true};
    case 24: return {PixelFormat::Bits24, true};
    case 16:
        if (h.masks[3] == 0 && h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F)
            return {PixelFormat::Bits15, true};
        if (h.masks[3] == 0 && h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F)
            return {PixelFormat::Bits16, true};
        return {h.masks[3] ? PixelFormat::Bits32 : PixelFormat::Bits24, false};
    default: // 32
        if ((h.masks[3] == 0 || h.masks[3] == 0xFF000000u) && h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 &&
            h.masks[2] == 0xFF)
            return {PixelFormat::Bits32, true};
        return {PixelFormat::Bits32, false};
    }
}

void checkHeader(Header& h)
{
    // A JPEG or PNG picture inside says 0 bits a pixel: it is refused for what it is.
    if (h.compression == kJPEG)
        invalid("JPEG compression is not supported");
    if (h.compression == kPNG)
        invalid("PNG compression is not supported");
    const bool indexed = h.bits == 1 || h.bits == 4 || h.bits == 8;
    if (!indexed && h.bits != 16 && h.bits != 24 && h.bits != 32)
        invalid(std::to_string(h.bits) + " bits a pixel are not supported");
    switch (h.compression) {
    case kRGB:
        if (h.bits == 16)
            h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
        else if (h.bits == 32)
            h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
        break;
    case kRLE8:
    case kRLE4:
        if (h.bits != (h.compression == kRLE8 ? 8 : 4))
            invalid("run-length compression " + std::to_string(h.compression) + " with " + std::to_string(h.bits) +
                    " bits a pixel");
        break;
    case kBitFields:
    case kAlphaBitFields:
        if (h.bits != 16 && h.bits != 32)
            invalid("bit-field masks with " + std::to_string(h.bits) + " bits a pixel");
        break;
    default: invalid("compression " + std::to_string(h.compression) + " is unknown");
    }
    if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<int32_t>::min())
        invalid("a size of " + std::to_string(h.width) + " x " + std::to_string(h.height) + " pixels");
}

void readColourTable(Stream& stream, const Header& h, uint64_t available, Bitmap& bitmap)
{
    const uint32_t entrySize = h.core ? 3 : 4;
    const uint64_t depthEntries = h.bits <= 8 ? uint64_t(1) << h.bits : 0;
    const uint64_t stored = h.colours ? h.colours : depthEntries;
    // Entries the depth cannot index are not read; a table cut short by the pixel data ends there.
    const uint64_t used = std::min({stored, depthEntries, available / entrySize});
    LogicalPalette logical;
    for (uint64_t i = 0; i < used; ++i) {
        uint8_t e[4];
        stream.ReadBuffer(e, entrySize);
        logical.entries.push_back({e[2], e[1], e[0], 0});
    }
    if (!logical.entries.empty())
        bitmap.SetPalette(Palette::Create(logical));
    stream.Skip(std::min(stored, available / entrySize) * entrySize - used * entrySize);
}

// A row as the file stores it, padded to whole 32-bit words.
std::size_t fileRowBytes(uint32_t width, uint16_t bits)
{
    return (std::size_t(width) * bits + 31) / 32 * 4;
}

void readRows(Stream& stream, const Header& h, Layout layout, bool topDown, Bitmap& bitmap)
{
    const uint32_t width = uint32_t(bitmap.Width()), height = bitmap.Height();
    const std::size_t fileRow = fileRowBytes(width, h.bits);
    std::vector<uint8_t> row(fileRow);
    const Field red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
    for (uint32_t i = 0; i < height; ++i) {
        stream.ReadBuffer(row.data(), fileRow);
        uint8_t* out = bitmap.ScanLine(topDown ? i : height - 1 - i);
        if (layout.copy) {
            std::memcpy(out, row.data(), bitmap.BytesPerRow());
        } else {
            const int step = layout.format == PixelFormat::Bits32 ? 4 : 3;
            for (uint32_t x = 0; x < width; ++x, out += step) {
                const uint8_t* p = row.data() + std::size_t(x) * (h.bits / 8);
                const uint32_t v = h.bits == 16 ? LoadU16LE(p) : LoadU32LE(p);
                out[0] = blue(v), out[1] = green(v), out[2] = red(v);
                if (step == 4)
                    out[3] = h.masks[3] ? alpha(v) : 255;
            }
        }
    }
}

// RLE8 and RLE4: runs of one value (two alternating values for RLE4), literal runs padded
// to a word, end of row, end of picture, and jumps ahead. Pixels past a row's end are
// dropped; those never written stay 0.
void readRunLength(Stream& stream, const Header& h, bool topDown, Bitmap& bitmap)
{
    const uint32_t width = bitmap.Width(), height = bitmap.Height();
    const bool four = h.compression == kRLE4;
    const uint64_t start = stream.Position();
    const std::string data = stream.ReadString(std::size_t(std::min<uint64_t>(stream.Remaining(), MaxImageBytes)));
    std::size_t at = 0;
    auto need = [&](std::size_t n) {
        if (data.size() - at < n)
            throw ReadError("Stream read error", stream.Name(), start + data.size());
    };
    uint64_t x = 0, y = 0;
    auto put = [&](uint64_t px, uint8_t v) {
        uint8_t* row = bitmap.ScanLine(uint32_t(topDown ? y : height - 1 - y));
        if (four)
            row[px / 2] = uint8_t(px % 2 ? (row[px / 2] & 0xF0) | v : (row[px / 2] & 0x0F) | v << 4);
        else
            row[px] = v;
    };
    while (y < height) {
        need(2);
        const uint8_t count = uint8_t(data[at]), value = uint8_t(data[at + 1]);
        at += 2;
        if (count) {
            for (int i = 0; i < count && x + uint64_t(i) < width; ++i)
                put(x + uint64_t(i), uint8_t(four ? (i % 2 ? value & 0x0F : value >> 4) : value));
            x += count;
            continue;
        }
        if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            need(2);
            x += uint8_t(data[at]), y += uint8_t(data[at + 1]);
            at += 2;
        } else {
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            need(bytes + bytes % 2);
            for (int i = 0; i < value && x + uint64_t(i) < width; ++i) {
                const uint8_t b = uint8_t(data[at + std::size_t(four ? i / 2 : i)]);
                put(x + uint64_t(i), uint8_t(four ? (i % 2 ? b & 0x0F : b >> 4) : b));
            }
            x += value;
            at += bytes + bytes % 2;
        }
    }
}

} // namespace

void ReadBitmapFile(Stream& stream, Bitmap& bitmap)
{
    bitmap.Clear();
    const uint64_t start = stream.Position();
    uint8_t signature[2] = {};
    const bool file = stream.Read(signature, 2) == 2 && signature[0] == 'B' && signature[1] == 'M';
    uint32_t pixelOffset = 0;
    if (file) {
        stream.Skip(8);   // file size and reserved words: often wrong, never needed
        pixelOffset = stream.U32LE();
    } else {
        stream.SetPosition(start);
    }
    Header h = readInfoHeader(stream);
    checkHeader(h);
    const bool topDown = h.height < 0;
    const uint32_t width = uint32_t(h.width), height = uint32_t(topDown ? -h.height : h.height);
    const Layout layout = layoutOf(h);
    auto rowBytes = CheckedRowBytes(width, uint64_t(std::max(h.bits, uint16_t(BitsPerPixel(layout.format)))), MaxImageBytes);
    if (!rowBytes || !CheckedProduct({*rowBytes + 4, height}, MaxImageBytes))
        invalid("a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");

    // The colour table lies between the headers and the pixels; a file says where its
    // pixels start (0 for right after the table).
    const uint64_t tableStart = stream.Position() - start;
    uint64_t available = std::numeric_limits<uint32_t>::max();
    if (file && pixelOffset) {
        if (pixelOffset < tableStart)
            invalid("the pixels start inside the headers");
        available = pixelOffset - tableStart;
    }
    bitmap.SetPixelFormat(layout.format);
    readColourTable(stream, h, available, bitmap);
    if (file && pixelOffset)
        stream.SetPosition(start + pixelOffset);
    // Plain rows must all be in the file before anything is made for them. Run-length data
    // may be far smaller than its picture (a jump or an end code stands for any number of
    // rows): the cap above is its bound.
    const bool runLength = h.compression == kRLE8 || h.compression == kRLE4;
    if (!runLength)
        stream.Require(uint64_t(fileRowBytes(width, h.bits)) * height);
    bitmap.SetSize(width, height);
    if (runLength)
        readRunLength(stream, h, topDown, bitmap);
    else
        readRows(stream, h, layout, topDown, bitmap);
}

void WriteBitmapFile(const Bitmap& bitmap, Stream& stream)
{
    const PixelFormat format = bitmap.GetPixelFormat();
    const int bits = format == PixelFormat::Bits15 ? 16 : BitsPerPixel(format);
    if (bitmap.Empty() || bits == 0)
        throw EInvalidGraphic("An empty bitmap cannot be saved");
    const uint32_t width = bitmap.Width(), height = bitmap.Height();
    const uint32_t entries = bits <= 8 ? 1u << bits : 0;
    const uint32_t masks = format == PixelFormat::Bits16 ? 12 : 0;
    const uint64_t fileRow = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
    const uint64_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + masks + 4 * entries;
    const uint64_t imageBytes = fileRow * height;
    constexpr uint64_t int32Max = uint64_t(std::numeric_limits<int32_t>::max());
    if (width > int32Max || height > int32Max || imageBytes > std::numeric_limits<uint32_t>::max() - pixelOffset)
        throw EInvalidGraphic("A bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                              " pixels is too large for a Windows bitmap file");

    ByteWriter w;
    w.Bytes("BM", 2);
    w.U32LE(uint32_t(pixelOffset + imageBytes));
    w.U32LE(0);
    w.U32LE(uint32_t(pixelOffset));
    w.U32LE(kInfoHeaderSize);
    w.I32LE(int32_t(width));
    w.I32LE(int32_t(height));
    w.U16LE(1);
    w.U16LE(uint16_t(bits));
    w.U32LE(masks ? kBitFields : kRGB);
    w.U32LE(uint32_t(imageBytes));
    w.U32LE(0);
    w.U32LE(0);
    w.U32LE(0);
    w.U32LE(0);
    if (masks) {
        w.U32LE(0xF800);
        w.U32LE(0x07E0);
        w.U32LE(0x001F);
    }
    const auto& palette = bitmap.GetPalette().Entries();
    for (uint32_t i = 0; i < entries; ++i) {
        PaletteEntry e;
        if (palette.empty())
            e.red = e.green = e.blue = uint8_t(i * 255 / (entries - 1));
        else if (i < palette.size())
            e = palette[i];
        const uint8_t quad[4] = {e.blue, e.green, e.red, 0};
        w.Bytes(quad, 4);
    }
    stream.WriteBuffer(w.Data().data(), w.Size());

    std::vector<uint8_t> row(std::size_t(fileRow), 0);
    for (uint32_t y = height; y-- > 0;) {
        std::memcpy(row.data(), bitmap.ScanLine(y), bitmap.BytesPerRow());
        stream.WriteBuffer(row.data(), row.size());
    }
}
