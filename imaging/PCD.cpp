#include "imaging/PCD.h"

#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const kFormatName = "Photo-CD";
constexpr std::size_t kSector = 2048;
constexpr std::size_t kHeaderSize = 3 * kSector;
constexpr std::size_t kRotationOffset = 0xE02;
// The Base resolution as stored, before any turn.
constexpr uint32_t kBaseWidth = 768, kBaseHeight = 512;
constexpr uint32_t kBaseIndex = 2;
constexpr uint64_t kImagePackBaseSector = 96, kOverviewBaseSector = 5;

bool isOverview(const uint8_t* header) { return std::memcmp(header, "PCD_OPA", 7) == 0; }
bool isImagePack(const uint8_t* header) { return std::memcmp(header + kSector, "PCD", 3) == 0; }

std::unique_ptr<Bitmap> create() { return std::make_unique<TPCDGraphic>(); }

} // namespace

const GraphicClass& TPCDGraphic::Class()
{
    static const GraphicClass cls{"TPCDGraphic", &create, &TPCDGraphic::CanLoad, true};
    return cls;
}

bool TPCDGraphic::CanLoad(Stream& stream)
{
    uint8_t header[kSector + 3];
    return stream.Remaining() > kHeaderSize && PeekHeader(stream, header, sizeof header) &&
           (isOverview(header) || isImagePack(header));
}

bool TPCDGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    imageIndex = std::min(imageIndex, 5u);
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t header[kHeaderSize];
    stream.ReadBuffer(header, sizeof header);
    TImageProperties& p = ImageProperties;
    p.Overview = isOverview(header);
    if (!p.Overview && !isImagePack(header))
        return false;
    p.Rotate = header[kRotationOffset] & 3;
    if (p.Overview)
        imageIndex = 0;
    p.Width = 192u << imageIndex;
    p.Height = 128u << imageIndex;
    if (p.Rotate & 1)
        std::swap(p.Width, p.Height);
    p.ColorScheme = csPhotoYCC;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 3;
    p.BitsPerPixel = 24;
    p.Compression = imageIndex > kBaseIndex ? ctPCDHuffmann : ctNone;
    p.ImageCount = LoadU16BE(header + 10);
    return true;
}

void TPCDGraphic::Upsample(uint32_t Width, uint32_t Height, uint32_t ScanLength, uint8_t* Plane)
{
    if (Width == 0 || Height == 0)
        return;
    const std::size_t wide = 2 * std::size_t(Width);
    // Rows from the last, samples from the end: row 0 spreads over itself, and no sample is
    // overwritten before it has been read.
    for (uint32_t y = Height; y-- > 0;) {
        const uint8_t* s = Plane + std::size_t(y) * ScanLength;
        uint8_t* d = Plane + 2 * std::size_t(y) * ScanLength;
        uint8_t last = s[Width - 1];
        d[wide - 2] = last;
        d[wide - 1] = last;
        for (uint32_t x = Width - 1; x-- > 0;) {
            unsigned a = s[x], b = s[x + 1];
            d[2 * x] = uint8_t(a);
            d[2 * x + 1] = uint8_t((a + b + 1) >> 1);
        }
    }
    for (uint32_t y = 0; y + 1 < Height; ++y) {
        uint8_t* above = Plane + 2 * std::size_t(y) * ScanLength;
        uint8_t* middle = above + ScanLength;
        const uint8_t* below = middle + ScanLength;
        for (std::size_t x = 0; x + 2 < wide; x += 2) {
            middle[x] = uint8_t((above[x] + below[x] + 1) >> 1);
            middle[x + 1] = uint8_t((above[x] + above[x + 2] + below[x] + below[x + 2] + 2) >> 2);
        }
        for (std::size_t x = wide - 2; x < wide; ++x)
            middle[x] = uint8_t((above[x] + below[x] + 1) >> 1);
    }
    uint8_t* lastEven = Plane + (2 * std::size_t(Height) - 2) * ScanLength;
    std::memcpy(lastEven + ScanLength, lastEven, wide);
}

void TPCDGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    // Something else under the Photo CD extension is an error, not an empty picture.
    if (!ReadImageProperties(stream, kBaseIndex))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    stream.SetPosition(BasePosition);
    TImageProperties& p = ImageProperties;
    const bool turned = p.Rotate & 1;
    const uint32_t bitmapWidth = turned ? kBaseHeight : kBaseWidth;
    const uint32_t bitmapHeight = turned ? kBaseWidth : kBaseHeight;
    ProgressRect = {0, 0, int32_t(bitmapWidth), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);

    p.Width = kBaseWidth;
    p.Height = kBaseHeight;
    constexpr std::size_t planeSize = std::size_t(kBaseWidth) * kBaseHeight;
    stream.Skip((p.Overview ? kOverviewBaseSector : kImagePackBaseSector) * kSector);
    // Luma and both quarter-size chroma planes must all be there before anything is made.
    stream.Require(planeSize + planeSize / 2);
    std::vector<uint8_t> planes(3 * planeSize);
    uint8_t* luma = planes.data();
    uint8_t* chroma1 = luma + planeSize;
    uint8_t* chroma2 = chroma1 + planeSize;

    TColorManager& cm = *ColorManager;
    cm.SourceOptions = 0;
    cm.SetSourceColorScheme(csPhotoYCC);
    cm.SetSourceBitsPerSample(8);
    cm.SetSourceSamplesPerPixel(3);
    cm.SetTargetColorScheme(csBGR);
    cm.SetTargetBitsPerSample(8);
    cm.SetTargetSamplesPerPixel(3);
    cm.SetYCbCrParameters({0.2125f, 0.7154f, 0.0721f}, 2, 2);

    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesLoadingData);
    // Each pair of rows: two luma rows, then one half-width row of each chroma component.
    for (uint32_t y = 0; y < kBaseHeight; y += 2) {
        Progress(ProgressStage::Running, uint8_t(y * 100 / kBaseHeight), false, ProgressRect, "");
        stream.ReadBuffer(luma + std::size_t(y) * kBaseWidth, 2 * kBaseWidth);
        stream.ReadBuffer(chroma1 + std::size_t(y / 2) * kBaseWidth, kBaseWidth / 2);
        stream.ReadBuffer(chroma2 + std::size_t(y / 2) * kBaseWidth, kBaseWidth / 2);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesUpsampling);
    Progress(ProgressStage::Running, 80, false, ProgressRect, "");
    Upsample(kBaseWidth / 2, kBaseHeight / 2, kBaseWidth, chroma1);
    Progress(ProgressStage::Running, 100, false, ProgressRect, "");
    Upsample(kBaseWidth / 2, kBaseHeight / 2, kBaseWidth, chroma2);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");

    SetPixelFormat(cm.GetPixelFormat(1));
    SetSize(bitmapWidth, bitmapHeight);
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    std::vector<uint8_t*> rows(bitmapHeight);
    for (uint32_t y = 0; y < bitmapHeight; ++y)
        rows[y] = ScanLine(y);
    std::vector<uint8_t> turnedRow(turned ? 3 * std::size_t(kBaseWidth) : 0);
    for (uint32_t y = 0; y < kBaseHeight; ++y) {
        const std::size_t at = std::size_t(y) * kBaseWidth;
        const void* source[] = {luma + at, chroma1 + at, chroma2 + at};
        if (!turned) {
            cm.ConvertRow(source, 3, std::span<uint8_t>(rows[y], BytesPerRow()), kBaseWidth, 0xFF);
        } else {
            cm.ConvertRow(source, 3, turnedRow, kBaseWidth, 0xFF);
            // A quarter turn counter-clockwise for rotation 1, clockwise for 3.
            for (uint32_t x = 0; x < kBaseWidth; ++x) {
                uint8_t* pixel = p.Rotate == 1 ? rows[kBaseWidth - 1 - x] + 3 * std::size_t(y)
                                               : rows[x] + 3 * std::size_t(kBaseHeight - 1 - y);
                std::memcpy(pixel, &turnedRow[3 * std::size_t(x)], 3);
            }
        }
        ProgressRow(y, kBaseHeight);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}
