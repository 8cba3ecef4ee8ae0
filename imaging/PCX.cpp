#include "imaging/PCX.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <cstring>
#include <vector>

namespace {

const char* const kFormatName = "PCX";
constexpr uint64_t kTrailingPalette = 769;   // marker 12 and 256 RGB entries
constexpr uint8_t kPaletteMarker = 12;

std::unique_ptr<Bitmap> create() { return std::make_unique<TPCXGraphic>(); }

// How a plane layout is shown.
enum class Layout { Chunky, BitPlanes, RGB, RGBA, None };

Layout layoutOf(uint8_t planes, uint8_t bits)
{
    if (planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8))
        return Layout::Chunky;
    // Planes of one bit each make up an index: 2, 3 (ppmtopcx) or 4 (16 colours) of them.
    if (planes >= 2 && planes <= 4 && bits == 1)
        return Layout::BitPlanes;
    if (planes == 3 && bits == 8)
        return Layout::RGB;
    if (planes == 4 && bits == 8)
        return Layout::RGBA;
    return Layout::None;
}

} // namespace

PCXHeader PCXHeader::Parse(const uint8_t (&b)[Size])
{
    ByteReader r(b, Size);
    PCXHeader h;
    h.Manufacturer = r.U8();
    h.Version = r.U8();
    h.Encoding = r.U8();
    h.BitsPerPixel = r.U8();
    h.XMin = r.U16LE();
    h.YMin = r.U16LE();
    h.XMax = r.U16LE();
    h.YMax = r.U16LE();
    h.HRes = r.U16LE();
    h.VRes = r.U16LE();
    r.Bytes(h.ColorMap, sizeof h.ColorMap);
    r.Skip(1);
    h.ColorPlanes = r.U8();
    h.BytesPerLine = r.U16LE();
    h.PaletteType = r.U16LE();
    return h;
}

const GraphicClass& TPCXGraphic::Class()
{
    static const GraphicClass cls{"TPCXGraphic", &create, &TPCXGraphic::CanLoad, true};
    return cls;
}

bool TPCXGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[PCXHeader::Size];
    if (!PeekHeader(stream, bytes, sizeof bytes))
        return false;
    PCXHeader h = PCXHeader::Parse(bytes);
    return (h.Manufacturer == 0x0A || h.Manufacturer == 0x0C) &&
           (h.Version == 0 || h.Version == 2 || h.Version == 3 || h.Version == 5) && h.Encoding <= 1;
}

bool TPCXGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    bool usable = TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t bytes[PCXHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    PCXHeader h = PCXHeader::Parse(bytes);
    if (h.Manufacturer != 0x0A && h.Manufacturer != 0xCD)
        return usable;
    // A window whose end lies before its start has no size; it must not wrap to a huge one.
    if (h.XMax < h.XMin || h.YMax < h.YMin)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    TImageProperties& p = ImageProperties;
    p.Width = uint32_t(h.XMax - h.XMin) + 1;
    p.Height = uint32_t(h.YMax - h.YMin) + 1;
    p.SamplesPerPixel = h.ColorPlanes;
    p.BitsPerSample = h.BitsPerPixel;
    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    p.ColorScheme = p.BitsPerSample * p.SamplesPerPixel <= 8 ? csIndexed : csRGB;
    p.Compression = h.Encoding == 1 ? ctRLE : ctNone;
    p.XResolution = h.HRes;
    p.YResolution = h.VRes;
    return true;
}

void TPCXGraphic::MakePalette(Stream& stream, const PCXHeader& h, uint64_t dataEnd)
{
    TColorManager& cm = *ColorManager;
    PixelFormat format = GetPixelFormat();
    if (h.Version == 3 && format != PixelFormat::Bits1) {
        SetPalette(Palette::System16());
    } else if (format == PixelFormat::Bits1) {
        SetPalette(cm.CreateGrayscalePalette(false));
    } else if (format == PixelFormat::Bits4) {
        if (h.PaletteType == 2) {
            SetPalette(cm.CreateGrayscalePalette(false));
        } else {
            SetPalette(cm.CreateColorPalette({h.ColorMap}, pfInterlaced8Triple, 16, false));
        }
    } else if (format == PixelFormat::Bits8) {
        uint64_t here = stream.Position();
        bool marked = false;
        // The block is looked for only where the stream holds it after the header.
        uint8_t block[kTrailingPalette];
        if (dataEnd + kTrailingPalette == stream.Size()) {
            stream.SetPosition(dataEnd);
            stream.ReadBuffer(block, sizeof block);
            marked = block[0] == kPaletteMarker;
        }
        if (marked)
            SetPalette(cm.CreateColorPalette({block + 1}, pfInterlaced8Triple, 256, false));
        else if (h.PaletteType == 2)
            SetPalette(cm.CreateGrayscalePalette(false));
        stream.SetPosition(here);
    }
}

void TPCXGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    // A header the probe takes (manufacturer 0x0C among them) but the loader cannot read is
    // an error, not an empty picture.
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const TImageProperties& p = ImageProperties;
    stream.SetPosition(BasePosition);
    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);

    uint8_t bytes[PCXHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    const PCXHeader h = PCXHeader::Parse(bytes);
    const uint64_t dataStart = stream.Position();
    const uint64_t streamSize = stream.Size();
    uint64_t dataEnd = streamSize;

    TColorManager& cm = *ColorManager;
    Layout layout = layoutOf(h.ColorPlanes, h.BitsPerPixel);
    cm.SetSourceColorScheme(layout == Layout::RGBA ? csRGBA : p.ColorScheme);
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetColorScheme(p.ColorScheme == csIndexed ? csIndexed : layout == Layout::RGBA ? csBGRA : csBGR);
    cm.SetTargetBitsPerSample(layout == Layout::Chunky && p.BitsPerPixel == 2 ? 4 : p.BitsPerSample);
    cm.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    if (layout == Layout::None)
        RasterErrorFmt(gesInvalidColorFormat, kFormatName);
    SetPixelFormat(layout == Layout::BitPlanes ? PixelFormat::Bits4 : cm.GetPixelFormat(1));

    // Every plane row must hold the width's pixels.
    const uint64_t planeBytes = (uint64_t(p.Width) * h.BitsPerPixel + 7) / 8;
    if (h.BytesPerLine < planeBytes)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const std::size_t lineSize = std::size_t(h.ColorPlanes) * h.BytesPerLine;
    const std::size_t decodedSize = BufferBytes({lineSize, p.Height}, p.Width, p.Height, kFormatName);
    ImageBytes(p.Width, p.Height, uint64_t(BitsPerPixel(GetPixelFormat())), kFormatName);

    // The trailing 256-colour block is not pixel data, when it is there.
    if (GetPixelFormat() == PixelFormat::Bits8 && streamSize >= dataStart + kTrailingPalette) {
        stream.SetPosition(streamSize - kTrailingPalette);
        if (stream.U8() == kPaletteMarker)
            dataEnd = streamSize - kTrailingPalette;
        stream.SetPosition(dataStart);
    }
    const uint64_t available = dataEnd > dataStart ? dataEnd - dataStart : 0;
    // A run codes at most 63 bytes in two, a single byte itself: less data than that
    // cannot hold the picture the header states.
    if (p.Compression == ctRLE && available < (2 * uint64_t(decodedSize) + 62) / 63)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    // Raw rows are stored as they are: all but the last must be there in full.
    if (p.Compression != ctRLE && available + lineSize <= decodedSize)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    if (GetPixelFormat() != PixelFormat::Bits24 && GetPixelFormat() != PixelFormat::Bits32)
        MakePalette(stream, h, dataEnd);
    SetSize(p.Width, p.Height);

    // A short last row is left black where the file lacks it.
    const uint32_t lines = p.Height;
    std::vector<uint8_t> decoded(decodedSize);
    if (p.Compression == ctRLE) {
        // Each decoded byte takes at most two packed ones; more is never looked at.
        std::vector<uint8_t> raw(std::size_t(std::min<uint64_t>(available, 2 * uint64_t(decodedSize))));
        stream.ReadBuffer(raw.data(), raw.size());
        TPCXRLEDecoder decoder;
        const uint8_t* source = raw.data();
        uint8_t* target = decoded.data();
        decoder.Decode(source, target, int32_t(raw.size()), int32_t(decodedSize));
        // As with raw rows, only the last row may be cut short (and left black there).
        if (decoder.Produced + lineSize <= decodedSize)
            throw ReadError("Stream read error", stream.Name(), dataStart + raw.size());
    } else {
        stream.ReadBuffer(decoded.data(), std::size_t(std::min<uint64_t>(available, decoded.size())));
    }

    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    if (!Empty())
        transfer(decoded.data(), lineSize, lines, h);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}

void TPCXGraphic::transfer(const uint8_t* data, std::size_t lineSize, uint32_t lines, const PCXHeader& h)
{
    const uint32_t width = Width(), height = Height();
    const std::size_t bpl = h.BytesPerLine;
    Layout layout = layoutOf(h.ColorPlanes, h.BitsPerPixel);
    TColorManager& cm = *ColorManager;
    for (uint32_t y = 0; y < lines; ++y, data += lineSize) {
        std::span<uint8_t> row(ScanLine(y), BytesPerRow());
        if (layout == Layout::BitPlanes) {
            // Each pixel's index takes one bit of every plane, the last plane's the highest;
            // two pixels make one bitmap byte.
            std::memset(row.data(), 0, row.size());
            for (uint32_t x = 0; x < width; ++x) {
                unsigned bit = 7 - x % 8, index = 0;
                for (int k = h.ColorPlanes - 1; k >= 0; --k)
                    index = (index << 1) | ((data[std::size_t(k) * bpl + x / 8] >> bit) & 1u);
                row[x / 2] |= uint8_t(x % 2 ? index : index << 4);
            }
        } else if (layout == Layout::RGB) {
            cm.ConvertRow({data, data + bpl, data + 2 * bpl}, row, width, 0xFF);
        } else if (layout == Layout::RGBA) {
            cm.ConvertRow({data, data + bpl, data + 2 * bpl, data + 3 * bpl}, row, width, 0xFF);
        } else {
            cm.ConvertRow({data}, row, width, 0xFF);
        }
        ProgressRow(y, height);
    }
    for (uint32_t y = lines; y < height; ++y)
        ProgressRow(y, height);
}
