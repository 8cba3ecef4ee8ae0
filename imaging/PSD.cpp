#include "imaging/PSD.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Sizes.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kFormatName = "PSD or PDD";

enum Mode : uint16_t {
    mdBitmap = 0, mdGrayscale = 1, mdIndexed = 2, mdRGB = 3, mdCMYK = 4, mdMultichannel = 7, mdDuotone = 8, mdLab = 9
};

std::unique_ptr<Bitmap> create() { return std::make_unique<TPSDGraphic>(); }

// The scheme of each colour mode, and how many channels of it are loaded.
TColorScheme schemeOf(uint16_t mode, uint16_t channels)
{
    switch (mode) {
    case mdBitmap:
    case mdGrayscale:
    case mdDuotone: return csG;
    case mdIndexed: return csIndexed;
    case mdRGB:
    case mdMultichannel: return channels > 3 ? csRGBA : csRGB;
    case mdCMYK: return csCMYK;
    case mdLab: return csCIELab;
    default: return csUnknown;
    }
}

int samplesOf(TColorScheme scheme)
{
    switch (scheme) {
    case csG:
    case csIndexed: return 1;
    case csRGB:
    case csCIELab: return 3;
    case csRGBA:
    case csCMYK: return 4;
    default: return 0;
    }
}

void swapWords(uint8_t* p, std::size_t bytes)
{
    for (std::size_t i = 0; i + 1 < bytes; i += 2)
        std::swap(p[i], p[i + 1]);
}

} // namespace

TPSDHeader TPSDHeader::Parse(const uint8_t (&b)[Size])
{
    TPSDHeader h;
    std::memcpy(h.Signature, b, 4);
    h.Version = LoadU16BE(b + 4);
    h.Channels = LoadU16BE(b + 12);
    h.Rows = LoadU32BE(b + 14);
    h.Columns = LoadU32BE(b + 18);
    h.Depth = LoadU16BE(b + 22);
    h.Mode = LoadU16BE(b + 24);
    return h;
}

const GraphicClass& TPSDGraphic::Class()
{
    static const GraphicClass cls{"TPSDGraphic", &create, &TPSDGraphic::CanLoad, true};
    return cls;
}

bool TPSDGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[TPSDHeader::Size];
    if (!PeekHeader(stream, bytes, sizeof bytes))
        return false;
    TPSDHeader h = TPSDHeader::Parse(bytes);
    return UpperAscii(std::string_view(h.Signature, 4)) == "8BPS" && h.Version == 1;
}

bool TPSDGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t bytes[TPSDHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    header_ = TPSDHeader::Parse(bytes);
    const TPSDHeader& h = header_;
    if (std::memcmp(h.Signature, "8BPS", 4) != 0)
        return false;

    TImageProperties& p = ImageProperties;
    p.Options = TImageOptions(ioBigEndian | (h.Mode == mdBitmap ? ioMinIsWhite : 0));
    p.Width = h.Columns;
    p.Height = h.Rows;
    p.ColorScheme = schemeOf(h.Mode, h.Channels);
    p.BitsPerSample = uint8_t(std::min<uint16_t>(h.Depth, 255));
    // Grey with alpha loads as grey, RGB with extra masks as RGBA: the samples loaded.
    p.SamplesPerPixel = uint8_t(std::min<int>(samplesOf(p.ColorScheme), h.Channels));
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    p.Channels = uint8_t(std::min<uint16_t>(h.Channels, 255));
    if (h.Version != 1)
        return true;   // large documents lay out their sections otherwise; the load refuses them
    for (int section = 0; section < 3; ++section)
        stream.Skip(stream.U32BE());
    uint16_t compression = stream.U16BE();
    p.Compression = compression == 1 ? ctPackedBits : compression == 0 ? ctNone : ctUnknown;
    return true;
}

void TPSDGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const TImageProperties& p = ImageProperties;
    const TPSDHeader& h = header_;
    bool depthOk = h.Mode == mdBitmap ? h.Depth == 1 : h.Mode == mdIndexed ? h.Depth == 8 : h.Depth == 8 || h.Depth == 16;
    if (h.Version != 1 || p.ColorScheme == csUnknown || !depthOk)
        RasterErrorFmt(gesUnsupportedImage, kFormatName);
    if (p.Compression == ctUnknown)
        RasterErrorFmt(gesUnsupportedFeature, gesCompressionScheme, kFormatName);
    const int samples = samplesOf(p.ColorScheme);
    if (h.Channels < samples || p.Width == 0 || p.Height == 0)
        RasterErrorFmt(gesInvalidImage, kFormatName);

    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);
    TColorManager& cm = *ColorManager;
    cm.SourceOptions = coNeedByteSwap;
    cm.TargetOptions = 0;
    cm.SetSourceBitsPerSample(uint8_t(h.Depth));
    cm.SetTargetBitsPerSample(h.Depth == 16 ? 8 : uint8_t(h.Depth));
    cm.SetSourceSamplesPerPixel(uint8_t(samples));
    cm.SetTargetSamplesPerPixel(uint8_t(samples));
    cm.SetSourceColorScheme(p.ColorScheme);
    switch (p.ColorScheme) {
    case csRGB: cm.SetTargetColorScheme(csBGR); break;
    case csRGBA: cm.SetTargetColorScheme(csBGRA); break;
    case csCMYK:
        cm.SetTargetColorScheme(csBGR);
        cm.SetTargetSamplesPerPixel(3);
        break;
    case csCIELab:
        cm.SetTargetColorScheme(csBGR);
        cm.SourceOptions |= coLabByteRange | coLabChromaOffset;
        break;
    default: cm.SetTargetColorScheme(p.ColorScheme); break;
    }
    const bool swapHere = h.Depth == 16 && (p.ColorScheme == csCMYK || p.ColorScheme == csCIELab);
    if (swapHere)
        cm.SourceOptions &= TConvertOptions(~coNeedByteSwap);
    SetPixelFormat(cm.GetPixelFormat(1));
    // The bitmap within the cap; the channel data held is checked when it is read.
    ImageBytes(p.Width, p.Height, uint64_t(BitsPerPixel(GetPixelFormat())), kFormatName);

    // Colour mode data: the palette of an indexed image, else (duotone) skipped by its length.
    stream.SetPosition(BasePosition + TPSDHeader::Size);
    uint32_t colourData = stream.U32BE();
    if (p.ColorScheme == csIndexed)
        readPalette(stream, colourData);
    else
        stream.Skip(colourData);
    if (p.ColorScheme == csG)
        SetPalette(cm.CreateGrayscalePalette(p.Options & ioMinIsWhite));
    stream.Skip(stream.U32BE());
    stream.Skip(uint64_t(stream.U32BE()) + 2);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");

    const std::size_t rowBytes = (std::size_t(p.Width) * h.Depth + 7) / 8;
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesLoadingData);
    readChannels(stream, rowBytes, samples);
    SetSize(p.Width, p.Height);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");

    // Rows are taken from the raw planes, or decoded channel by channel into one row each.
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    const bool packed = p.Compression == ctPackedBits;
    const std::size_t planeSize = rowBytes * p.Height;
    std::vector<uint8_t> rows(packed ? rowBytes * std::size_t(samples) : 0);
    TPackbitsRLEDecoder decoder;
    const void* sources[4] = {};
    for (uint32_t y = 0; y < p.Height; ++y) {
        for (int c = 0; c < samples; ++c) {
            uint8_t* row = data_.get() + std::size_t(c) * planeSize + std::size_t(y) * rowBytes;
            if (packed) {
                std::size_t at = std::size_t(c) * p.Height + y;
                const uint8_t* source = data_.get() + offsets_[at];
                row = rows.data() + std::size_t(c) * rowBytes;
                decoder.Decode(source, row, int32_t(offsets_[at + 1] - offsets_[at]), int32_t(rowBytes));
            }
            // CMYK is stored inverted (0 is full ink); the CMYK and Lab conversions take
            // 16-bit samples in host order.
            if (p.ColorScheme == csCMYK)
                for (std::size_t i = 0; i < rowBytes; ++i)
                    row[i] = uint8_t(255 - row[i]);
            if (swapHere)
                swapWords(row, rowBytes);
            sources[c] = row;
        }
        cm.ConvertRow(sources, std::size_t(samples), {ScanLine(y), BytesPerRow()}, p.Width, 0xFF);
        ProgressRow(y, p.Height);
    }
    data_.reset();
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    // The channel data may be most of the picture's size again: it goes with the failed load.
    data_.reset();
    offsets_ = {};
    RethrowImageError(kFormatName);
}

void TPSDGraphic::readPalette(Stream& stream, uint32_t count)
{
    // A table is three planes of up to 256 entries; what follows a full one is not ours.
    uint32_t colours = std::min<uint32_t>(count / 3, 256);
    if (colours == 0)
        RasterErrorFmt(gesInvalidPalette, kFormatName);
    std::vector<uint8_t> data(3 * colours);
    stream.ReadBuffer(data.data(), data.size());
    stream.Skip(count - data.size());
    SetPalette(ColorManager->CreateColorPalette({data.data(), data.data() + colours, data.data() + 2 * colours},
                                                pfPlane8Triple, colours, false));
}

void TPSDGraphic::readChannels(Stream& stream, std::size_t rowBytes, int channels)
{
    const uint32_t height = ImageProperties.Height;
    const uint64_t planeSize = uint64_t(rowBytes) * height;
    uint64_t bytes = planeSize * uint64_t(channels);
    offsets_.clear();
    if (ImageProperties.Compression == ctPackedBits) {
        // A byte count for every row of every channel, then the rows. Only the channels
        // loaded are read.
        stream.Require(uint64_t(header_.Channels) * height * 2);
        offsets_.resize(BufferBytes({height, uint64_t(channels), sizeof offsets_[0]}, ImageProperties.Width, height,
                                    kFormatName) / sizeof offsets_[0] + 1);
        for (std::size_t i = 1; i < offsets_.size(); ++i)
            offsets_[i] = offsets_[i - 1] + stream.U16BE();
        stream.Skip((uint64_t(header_.Channels) - uint64_t(channels)) * height * 2);
        // Two packed bytes make at most 128: less data than that cannot fill the planes.
        if (offsets_.back() * 64 < bytes)
            RasterErrorFmt(gesStreamReadError, kFormatName);
        bytes = offsets_.back();
    }
    // All of it must be there and within the cap before anything is made; it is not
    // zeroed, as the read fills every byte.
    BufferBytes({bytes}, ImageProperties.Width, height, kFormatName);
    stream.Require(bytes);
    data_ = std::make_unique_for_overwrite<uint8_t[]>(std::size_t(bytes));
    stream.ReadBuffer(data_.get(), std::size_t(bytes));
}
