#include "imaging/RLA.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <cstdlib>
#include <vector>

namespace {

const char* const kFormatName = "RLA";

std::unique_ptr<Bitmap> create() { return std::make_unique<TRLAGraphic>(); }

std::string text(const uint8_t* field, std::size_t length)
{
    std::size_t n = 0;
    while (n < length && field[n])
        ++n;
    return std::string(reinterpret_cast<const char*>(field), n);
}

} // namespace

const GraphicClass& TRLAGraphic::Class()
{
    static const GraphicClass cls{"TRLAGraphic", &create, &TRLAGraphic::CanLoad, true};
    return cls;
}

TRLAHeader TRLAGraphic::SwapHeader(const uint8_t (&b)[TRLAHeader::Size])
{
    auto i16 = [&](std::size_t at) { return int16_t(LoadU16BE(b + at)); };
    TRLAHeader h;
    h.WindowLeft = i16(0);
    h.WindowRight = i16(2);
    h.WindowBottom = i16(4);
    h.WindowTop = i16(6);
    h.ActiveLeft = i16(8);
    h.ActiveRight = i16(10);
    h.ActiveBottom = i16(12);
    h.ActiveTop = i16(14);
    h.Frame = i16(16);
    h.StorageType = i16(18);
    h.NumChannels = i16(20);
    h.NumMatteChannels = i16(22);
    h.NumAuxChannels = i16(24);
    h.Revision = LoadU16BE(b + 26);
    h.Gamma = text(b + 28, 16);
    h.JobNumber = LoadU32BE(b + 140);
    h.Channel = text(b + 580, 32);
    h.Field = i16(612);
    h.ChannelBits = i16(658);
    h.MatteType = i16(660);
    h.MatteBits = i16(662);
    h.AuxType = i16(664);
    h.AuxBits = i16(666);
    h.Next = LoadU32BE(b + 736);
    return h;
}

bool TRLAGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[TRLAHeader::Size];
    if (!PeekHeader(stream, bytes, sizeof bytes))
        return false;
    TRLAHeader h = SwapHeader(bytes);
    std::string channel = LowerAscii(h.Channel);
    return h.Revision == TRLAHeader::RevisionMark && (channel == "rgb" || channel == "xyz");
}

bool TRLAGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t bytes[TRLAHeader::Size];
    stream.ReadBuffer(bytes, sizeof bytes);
    header_ = SwapHeader(bytes);
    const TRLAHeader& h = header_;
    // The revision mark is for telling RLA files by their content (CanLoad); opened by its
    // extension, a file without it is read as any other.

    TImageProperties& p = ImageProperties;
    p.Options = ioBigEndian;
    p.SamplesPerPixel = uint8_t(h.NumChannels + (h.NumMatteChannels == 1 ? 1 : 0));
    p.BitsPerSample = uint8_t(h.ChannelBits);
    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    std::string channel = LowerAscii(h.Channel);
    if (channel == "rgb")
        p.ColorScheme = h.NumMatteChannels > 0 ? csRGBA : csRGB;
    else if (channel == "xyz")
        return false;
    try {
        p.FileGamma = float(StrToFloat(h.Gamma));
    } catch (const EConvertError&) {
        p.FileGamma = 1.0f;   // no gamma written, or not a number: none applied
    }
    p.Compression = ctRLE;
    // Sizes in 32 bits: a window whose right lies left of its left comes out 0 or negative.
    p.Width = uint32_t(int32_t(h.ActiveRight) - int32_t(h.ActiveLeft) + 1);
    p.Height = uint32_t(std::abs(int32_t(h.ActiveBottom) - int32_t(h.ActiveTop)) + 1);
    p.BottomUp = int32_t(h.ActiveBottom) - int32_t(h.ActiveTop) < 0;
    return true;
}

void TRLAGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0)) {
        if (LowerAscii(header_.Channel) == "xyz")
            RasterErrorFmt(gesUnsupportedImage, kFormatName);
        RasterErrorFmt(gesInvalidImage, kFormatName);
    }
    const TImageProperties& p = ImageProperties;
    // Three colour channels and at most one matte, of 8 bits each, are what the rows below
    // take apart; any other layout would overrun them.
    const TRLAHeader& h = header_;
    if ((p.ColorScheme != csRGB && p.ColorScheme != csRGBA) || h.NumChannels != 3 || h.NumMatteChannels > 1 ||
        h.ChannelBits != 8 || (h.NumMatteChannels == 1 && h.MatteBits != 8 && h.MatteBits != 0))
        RasterErrorFmt(gesUnsupportedFeature, gesRLAPixelFormat, kFormatName);
    if (int32_t(p.Width) <= 0)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    ImageBytes(p.Width, p.Height, 8 * uint64_t(p.SamplesPerPixel), kFormatName);

    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    TColorManager& cm = *ColorManager;
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    cm.SetTargetBitsPerSample(p.BitsPerSample);
    cm.SetSourceColorScheme(p.ColorScheme);
    cm.SetTargetColorScheme(p.ColorScheme == csRGBA ? csBGRA : csBGR);
    SetPixelFormat(cm.GetPixelFormat(1));
    if (p.FileGamma != 1.0f) {
        cm.SetGamma(p.FileGamma, 2.2f);
        cm.TargetOptions |= coApplyGamma;
        ImageProperties.Options |= ioUseGamma;
    }
    loadScanlines(stream);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}

void TRLAGraphic::loadScanlines(Stream& stream)
{
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    const int channels = ImageProperties.SamplesPerPixel;
    stream.Require(uint64_t(height) * 4);
    std::vector<uint32_t> offsets(height);
    // A channel's run takes at least two bytes for at most 128 pixels, after its byte count:
    // a scanline that cannot fit before the end of the stream fails before the bitmap is made.
    const uint64_t least = uint64_t(channels) * (2 + 2 * ((uint64_t(width) + 127) / 128));
    const uint64_t size = stream.Size();
    for (uint32_t& offset : offsets) {
        offset = stream.U32BE();
        if (BasePosition + offset + least > size)
            RasterErrorFmt(gesStreamReadError, kFormatName);
    }
    SetSize(width, height);

    TRLADecoder decoder;
    std::vector<uint8_t> planes(std::size_t(width) * std::size_t(channels));
    std::vector<uint8_t> encoded;
    const void* sources[4] = {};
    for (int c = 0; c < channels; ++c)
        sources[c] = planes.data() + std::size_t(c) * width;
    for (uint32_t y = 0; y < height; ++y) {
        stream.SetPosition(BasePosition + offsets[y]);
        for (int c = 0; c < channels; ++c) {
            uint16_t count = stream.U16BE();
            encoded.resize(count);
            stream.ReadBuffer(encoded.data(), count);
            const uint8_t* source = encoded.data();
            uint8_t* target = planes.data() + std::size_t(c) * width;
            decoder.Decode(source, target, count, int32_t(width));
        }
        uint32_t row = ImageProperties.BottomUp ? height - 1 - y : y;
        ColorManager->ConvertRow(sources, std::size_t(channels), {ScanLine(row), BytesPerRow()}, width, 0xFF);
        ProgressRow(y, height);
    }
}
