#include "imaging/Autodesk.h"

#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

namespace {

const char* const kFormatName = "Autodesk";
constexpr uint16_t kFileID = 0x9119;
constexpr std::size_t kHeaderSize = 32;

std::unique_ptr<Bitmap> create() { return std::make_unique<TAutodeskGraphic>(); }

} // namespace

const GraphicClass& TAutodeskGraphic::Class()
{
    static const GraphicClass cls{"TAutodeskGraphic", &create, &TAutodeskGraphic::CanLoad, true};
    return cls;
}

bool TAutodeskGraphic::CanLoad(Stream& stream)
{
    uint8_t b[kHeaderSize];
    return PeekHeader(stream, b, sizeof b) && LoadU16LE(b) == kFileID && b[10] == 8 && b[11] == 0;
}

bool TAutodeskGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    const uint16_t FileID = stream.U16LE();
    if (FileID != kFileID)
        return false;
    uint8_t b[kHeaderSize - 2];
    stream.ReadBuffer(b, sizeof b);
    TImageProperties& p = ImageProperties;
    p.Width = LoadU16LE(b);
    p.Height = LoadU16LE(b + 2);
    p.ColorScheme = csIndexed;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = ctNone;
    return true;
}

void TAutodeskGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    // A picture without pixels is no picture.
    if (width == 0 || height == 0)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    ImageBytes(width, height, 8, kFormatName);
    stream.SetPosition(BasePosition);
    ProgressRect = {0, 0, int32_t(width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);

    // Header, palette and rows are read as far as the file goes; what it lacks stays black.
    uint8_t header[kHeaderSize];
    stream.Read(header, sizeof header);
    uint8_t map[768] = {};
    stream.Read(map, sizeof map);
    LogicalPalette logical;
    for (std::size_t i = 0; i < 256; ++i)
        logical.entries.push_back(
            {uint8_t(map[3 * i] << 2), uint8_t(map[3 * i + 1] << 2), uint8_t(map[3 * i + 2] << 2), 0});
    SetPixelFormat(PixelFormat::Bits8);
    SetPalette(Palette::Create(logical));
    SetSize(width, height);

    for (uint32_t y = 0; y < height && !Empty(); ++y) {
        stream.Read(ScanLine(y), width);
        ProgressRow(y, height);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}
