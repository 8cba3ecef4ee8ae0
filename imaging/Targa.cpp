#include "imaging/Targa.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const kFormatName = "Targa";

bool isGrey(uint8_t imageType) { return imageType == 3 || imageType == 11; }
bool isRLE(uint8_t imageType) { return imageType >= 9 && imageType <= 11; }
bool isRaw(uint8_t imageType) { return imageType >= 1 && imageType <= 3; }
// 16-bit pixels of a grey image are 8 bits of grey and 8 of alpha, not 5-5-5 colours.
bool isGreyAlpha(const TargaHeader& h) { return isGrey(h.ImageType) && h.PixelSize == 16; }

// Brings a row read as the file stores it into the bitmap's layout. The colour manager takes
// grey only to grey and would drop the alpha, so grey with alpha is spread here over blue,
// green and red of a 32-bit pixel, from the row's end so that no pixel is overwritten
// before it is read. A right-to-left row is mirrored back.
void finishRow(uint8_t* row, const TargaHeader& h)
{
    std::size_t width = h.Width;
    std::size_t pb = std::size_t(TTargaRLEDecoder::PixelBytes(h.PixelSize));
    if (isGreyAlpha(h)) {
        for (std::size_t x = width; x-- > 0;) {
            uint8_t grey = row[2 * x], alpha = row[2 * x + 1];
            row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = grey;
            row[4 * x + 3] = alpha;
        }
        pb = 4;
    }
    if (h.ImageDescriptor & 0x10) {
        std::reverse(row, row + width * pb);
        for (std::size_t x = 0; pb > 1 && x < width; ++x)
            std::reverse(row + x * pb, row + x * pb + pb);
    }
}

std::unique_ptr<Bitmap> create() { return std::make_unique<TTargaGraphic>(); }

} // namespace

TargaHeader TargaHeader::Parse(const uint8_t (&b)[Size])
{
    ByteReader r(b, Size);
    TargaHeader h;
    h.IDLength = r.U8();
    h.ColorMapType = r.U8();
    h.ImageType = r.U8();
    h.ColorMapOrigin = r.U16LE();
    h.ColorMapLength = r.U16LE();
    h.ColorMapEntrySize = r.U8();
    h.XOrigin = r.U16LE();
    h.YOrigin = r.U16LE();
    h.Width = r.U16LE();
    h.Height = r.U16LE();
    h.PixelSize = r.U8();
    h.ImageDescriptor = r.U8();
    return h;
}

void TargaHeader::Serialize(uint8_t (&b)[Size]) const
{
    ByteWriter w;
    w.U8(IDLength);
    w.U8(ColorMapType);
    w.U8(ImageType);
    w.U16LE(ColorMapOrigin);
    w.U16LE(ColorMapLength);
    w.U8(ColorMapEntrySize);
    w.U16LE(XOrigin);
    w.U16LE(YOrigin);
    w.U16LE(Width);
    w.U16LE(Height);
    w.U8(PixelSize);
    w.U8(ImageDescriptor);
    std::memcpy(b, w.Data().data(), Size);
}

bool TargaHeader::IsValid() const
{
    static constexpr uint8_t types[] = {0, 1, 2, 3, 9, 10, 11};
    bool typeOk = std::find(std::begin(types), std::end(types), ImageType) != std::end(types);
    bool entryOk = ColorMapEntrySize == 15 || ColorMapEntrySize == 16 || ColorMapEntrySize == 24 ||
                   ColorMapEntrySize == 32;
    // Writers leave the entry size 0 when there is no colour map.
    if (ColorMapType == 0 && ColorMapEntrySize == 0)
        entryOk = true;
    return typeOk && ColorMapType <= 1 && entryOk && TTargaRLEDecoder::PixelBytes(PixelSize) != 0;
}

const GraphicClass& TTargaGraphic::Class()
{
    static const GraphicClass cls{"TTargaGraphic", &create, &TTargaGraphic::CanLoad, true};
    return cls;
}

bool TTargaGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[TargaHeader::Size];
    return PeekHeader(stream, bytes, sizeof bytes) && TargaHeader::Parse(bytes).IsValid();
}

bool TTargaGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t bytes[TargaHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    TargaHeader h = TargaHeader::Parse(bytes);
    TImageProperties& p = ImageProperties;
    p.BitsPerSample = 8;
    switch (h.PixelSize) {
    case 8:
        p.ColorScheme = isGrey(h.ImageType) ? csG : csIndexed;
        p.SamplesPerPixel = 1;
        break;
    case 16:
        if (isGreyAlpha(h)) {
            p.ColorScheme = csGA;
            p.SamplesPerPixel = 2;
            break;
        }
        [[fallthrough]];
    case 15:
        p.ColorScheme = csRGB;
        p.BitsPerSample = 5;
        p.SamplesPerPixel = 3;
        break;
    case 24:
        p.ColorScheme = csRGB;
        p.SamplesPerPixel = 3;
        break;
    case 32:
        p.ColorScheme = csRGBA;
        p.SamplesPerPixel = 4;
        break;
    default:
        p.ColorScheme = csUnknown;
        p.SamplesPerPixel = 0;
        break;
    }
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    p.Compression = isRLE(h.ImageType) ? ctRLE : ctNone;
    p.Width = h.Width;
    p.Height = h.Height;
    return true;
}

void TTargaGraphic::readPalette(Stream& stream, const TargaHeader& h)
{
    uint64_t entryBytes = (uint64_t(h.ColorMapEntrySize) + 7) / 8;
    bool indexed = h.PixelSize == 8 && !isGrey(h.ImageType);
    if (isGrey(h.ImageType)) {
        // A grey image has no use for a colour map: step over it.
        if (h.ColorMapType == 1)
            stream.Skip(entryBytes * h.ColorMapLength);
        SetPalette(ColorManager->CreateGrayscalePalette(false));
        return;
    }
    if (h.ColorMapType != 1)
        return;
    bool usableEntry = h.ColorMapEntrySize == 15 || h.ColorMapEntrySize == 16 || h.ColorMapEntrySize == 24 ||
                       h.ColorMapEntrySize == 32;
    if (indexed && !usableEntry)
        RasterErrorFmt(gesInvalidPalette, kFormatName);
    if (!usableEntry) {
        // Pixels are colours themselves: the map is only stepped over.
        stream.Skip(entryBytes * h.ColorMapLength);
        return;
    }
    // A palette holds the first 256 entries, all that 8-bit indices reach; the pixels start
    // behind the whole map.
    const uint32_t colours = std::min<uint32_t>(h.ColorMapLength, 256);
    std::vector<uint8_t> map(std::size_t(entryBytes * colours));
    stream.ReadBuffer(map.data(), map.size());
    stream.Skip(entryBytes * (h.ColorMapLength - colours));
    if (h.ColorMapEntrySize == 24) {
        SetPalette(ColorManager->CreateColorPalette({map.data()}, pfInterlaced8Triple, colours, true));
    } else if (h.ColorMapEntrySize == 32) {
        SetPalette(ColorManager->CreateColorPalette({map.data()}, pfInterlaced8Quad, colours, true));
    } else {
        LogicalPalette logical;
        for (std::size_t i = 0; i < colours; ++i) {
            uint16_t w = LoadU16LE(&map[2 * i]);
            logical.entries.push_back(
                {uint8_t((w & 0x7C00) >> 7), uint8_t((w & 0x03E0) >> 2), uint8_t((w & 0x1F) << 3), 0});
        }
        SetPalette(Palette::Create(logical));
    }
}

void TTargaGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        return;
    stream.SetPosition(BasePosition);
    ProgressRect = {0, 0, int32_t(ImageProperties.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);

    uint8_t bytes[TargaHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    TargaHeader h = TargaHeader::Parse(bytes);
    // A type this reader does not decode (the Huffman and delta kinds among them) is no
    // picture of blank pixels; a file without image data (type 0) is one.
    if (h.ImageType != 0 && !isRaw(h.ImageType) && !isRLE(h.ImageType))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    bool topDown = h.ImageDescriptor & 0x20;
    stream.Skip(h.IDLength);

    TColorManager& cm = *ColorManager;
    bool greyAlpha = isGreyAlpha(h);
    cm.SetSourceSamplesPerPixel(ImageProperties.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(greyAlpha ? 4 : ImageProperties.SamplesPerPixel);
    cm.SetSourceColorScheme(ImageProperties.ColorScheme);
    cm.SourceOptions = 0;
    cm.SetTargetColorScheme(greyAlpha ? csBGRA : csBGR);
    cm.SetSourceBitsPerSample(ImageProperties.BitsPerSample);
    cm.SetTargetBitsPerSample(ImageProperties.BitsPerSample);
    SetPixelFormat(cm.GetPixelFormat(1));

    readPalette(stream, h);

    // Every size is checked against what the stream still holds before the bitmap is made.
    int pb = TTargaRLEDecoder::PixelBytes(h.PixelSize);
    std::size_t imageBytes = ImageBytes(h.Width, h.Height, 8 * uint64_t(pb), kFormatName);
    // Grey with alpha grows to four bytes a pixel in the bitmap: the cap holds for that too.
    if (greyAlpha)
        ImageBytes(h.Width, h.Height, 32, kFormatName);
    std::size_t rowSize = std::size_t(h.Width) * std::size_t(pb);
    if (isRaw(h.ImageType))
        stream.Require(imageBytes);
    // Each packet holds at most 128 pixels in at least a header and one pixel.
    if (isRLE(h.ImageType))
        stream.Require((uint64_t(h.Width) * h.Height + 127) / 128 * uint64_t(pb + 1));

    SetSize(h.Width, h.Height);

    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    if (!Empty()) {
        if (isRaw(h.ImageType)) {
            for (uint32_t y = 0; y < h.Height; ++y) {
                uint8_t* row = ScanLine(topDown ? y : h.Height - 1 - y);
                stream.ReadBuffer(row, rowSize);
                finishRow(row, h);
                ProgressRow(y, h.Height);
            }
        } else if (isRLE(h.ImageType)) {
            readRLE(stream, h, topDown, rowSize);
        }
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}

void TTargaGraphic::readRLE(Stream& stream, const TargaHeader& h, bool topDown, std::size_t rowSize)
{
    // Packed bytes are read in large blocks; a row never needs more than twice its unpacked
    // size, so a decode that runs out with that much at hand means damaged data.
    const std::size_t rowNeed = 2 * rowSize;
    std::vector<uint8_t> buffer(rowNeed + (std::size_t(64) << 10));
    std::size_t begin = 0, end = 0;
    bool atEnd = false;
    TTargaRLEDecoder decoder(h.PixelSize);
    decoder.DecodeInit();
    for (uint32_t y = 0; y < h.Height; ++y) {
        if (end - begin < rowNeed && !atEnd) {
            std::memmove(buffer.data(), buffer.data() + begin, end - begin);
            end -= begin;
            begin = 0;
            std::size_t want = buffer.size() - end;
            std::size_t got = stream.Read(buffer.data() + end, want);
            end += got;
            atEnd = got < want;
        }
        const uint8_t* source = buffer.data() + begin;
        uint8_t* target = ScanLine(topDown ? y : h.Height - 1 - y);
        decoder.Decode(source, target, int32_t(end - begin), int32_t(h.Width));
        finishRow(target, h);
        begin = std::size_t(source - buffer.data());
        ProgressRow(y, h.Height);
    }
    decoder.DecodeEnd();
    // Leave the stream just after the packed bytes that were used.
    if (end > begin)
        stream.Seek(-int64_t(end - begin), SeekOrigin::Current);
}

void TTargaGraphic::SaveToStream(Stream& stream, bool compressed)
{
    ProgressRect = {0, 0, int32_t(Width()), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);
    if (GetPixelFormat() == PixelFormat::Bits1 || GetPixelFormat() == PixelFormat::Bits4)
        SetPixelFormat(PixelFormat::Bits8);
    // 15-bit pixels take a whole word and are written as 16-bit ones.
    int pb = (BitsPerPixel(GetPixelFormat()) + 7) / 8;
    // A bitmap without pixels (or without a pixel format) has nothing to write.
    if (Empty() || pb == 0)
        return;
    if (Width() > 0xFFFF || Height() > 0xFFFF)
        RasterErrorFmt(gesUnsupportedImage, kFormatName);

    TargaHeader h;
    h.ColorMapType = pb == 1 ? 1 : 0;
    h.ImageType = uint8_t(pb == 1 ? (compressed ? 9 : 1) : (compressed ? 10 : 2));
    h.ColorMapLength = 256;
    h.ColorMapEntrySize = 24;
    h.Width = uint16_t(Width());
    h.Height = uint16_t(Height());
    h.PixelSize = uint8_t(8 * pb);
    h.ImageDescriptor = 0x20;
    uint8_t bytes[TargaHeader::Size];
    h.Serialize(bytes);
    stream.WriteBuffer(bytes, sizeof bytes);

    if (pb == 1) {
        // Entries the palette does not have are written black.
        uint8_t map[256 * 3] = {};
        const auto& entries = GetPalette().Entries();
        for (std::size_t i = 0; i < entries.size() && i < 256; ++i) {
            map[3 * i] = entries[i].blue;
            map[3 * i + 1] = entries[i].green;
            map[3 * i + 2] = entries[i].red;
        }
        stream.WriteBuffer(map, sizeof map);
    }

    std::size_t rowSize = std::size_t(Width()) * std::size_t(pb);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    std::vector<uint8_t> packed;
    TTargaRLEDecoder encoder(h.PixelSize);
    if (compressed) {
        packed.resize(2 * rowSize);
        encoder.EncodeInit();
    }
    // Targa's 16-bit pixels are 5-5-5 like our 15-bit ones; 5-6-5 words lose green's
    // lowest bit on the way out instead of coming back as other colours.
    bool sixteen = GetPixelFormat() == PixelFormat::Bits16;
    std::vector<uint8_t> converted(sixteen ? rowSize : 0);
    for (uint32_t y = 0; y < Height(); ++y) {
        const uint8_t* row = ScanLine(y);
        if (sixteen) {
            for (std::size_t x = 0; x < rowSize; x += 2) {
                unsigned w = unsigned(row[x] | (row[x + 1] << 8));
                unsigned v = ((w >> 1) & 0x7FE0u) | (w & 0x1Fu);
                converted[x] = uint8_t(v);
                converted[x + 1] = uint8_t(v >> 8);
            }
            row = converted.data();
        }
        if (compressed) {
            uint32_t stored = 0;
            encoder.Encode(row, packed.data(), Width(), stored);
            stream.WriteBuffer(packed.data(), stored);
        } else {
            stream.WriteBuffer(row, rowSize);
        }
        Progress(ProgressStage::Running, 0, false, ProgressRect, "");
        ++ProgressRect.top;
        ++ProgressRect.bottom;
    }
    if (compressed)
        encoder.EncodeEnd();
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
}
