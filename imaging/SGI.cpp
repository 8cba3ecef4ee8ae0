#include "imaging/SGI.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <cstring>

namespace {

const char* const kFormatName = "sgi, bw or rgb(a)";
constexpr std::size_t kHeaderSize = 512;
constexpr uint16_t kMagic = 474;

struct SGIHeader {
    uint16_t Magic = 0;
    uint8_t Storage = 0;
    uint8_t BytesPerChannel = 0;
    uint16_t Dimension = 0;
    uint16_t XSize = 0, YSize = 0, ZSize = 0;

    static SGIHeader Parse(const uint8_t* b)
    {
        ByteReader r(b, kHeaderSize);
        SGIHeader h;
        h.Magic = r.U16BE();
        h.Storage = r.U8();
        h.BytesPerChannel = r.U8();
        h.Dimension = r.U16BE();
        h.XSize = r.U16BE();
        h.YSize = r.U16BE();
        h.ZSize = r.U16BE();
        return h;
    }
};

std::unique_ptr<Bitmap> create() { return std::make_unique<TSGIGraphic>(); }

} // namespace

TSGIGraphic::TSGIGraphic() = default;
TSGIGraphic::~TSGIGraphic() = default;

const GraphicClass& TSGIGraphic::Class()
{
    static const GraphicClass cls{"TSGIGraphic", &create, &TSGIGraphic::CanLoad, true};
    return cls;
}

bool TSGIGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[kHeaderSize];
    if (!PeekHeader(stream, bytes, sizeof bytes))
        return false;
    SGIHeader h = SGIHeader::Parse(bytes);
    return h.Magic == kMagic && (h.BytesPerChannel == 1 || h.BytesPerChannel == 2) && h.Dimension >= 1 &&
           h.Dimension <= 3;
}

bool TSGIGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    uint8_t bytes[kHeaderSize];
    stream.ReadBuffer(bytes, sizeof bytes);
    SGIHeader h = SGIHeader::Parse(bytes);
    if (h.Magic != kMagic)
        return false;
    TImageProperties& p = ImageProperties;
    p.Options = ioBigEndian;
    p.BitsPerSample = uint8_t(8 * h.BytesPerChannel);
    p.Width = h.XSize;
    p.Height = h.YSize;
    p.SamplesPerPixel = uint8_t(h.ZSize);
    p.ColorScheme = p.SamplesPerPixel == 3 ? csRGB : p.SamplesPerPixel == 4 ? csRGBA : csIndexed;
    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    p.Compression = h.Storage == 1 ? ctRLE : ctNone;
    return true;
}

void TSGIGraphic::ReadAndDecode(uint8_t* Red, uint8_t* Green, uint8_t* Blue, uint8_t* Alpha, uint32_t Row,
                                uint32_t BytesPerChannel)
{
    Stream& stream = *Stream_;
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    const std::size_t rowBytes = std::size_t(width) * BytesPerChannel;
    uint8_t* channels[4] = {Red, Green, Blue, Alpha};
    for (uint64_t k = 0; k < 4; ++k) {
        uint8_t* target = channels[k];
        if (!target)
            continue;
        std::size_t got;
        if (decoder_) {
            std::size_t index = std::size_t(k * height + Row);
            stream.SetPosition(BasePosition + starts_[index]);
            // A row packs into at most a control value per sample plus the end code; a
            // larger stored length buys nothing but a larger buffer.
            std::size_t wanted = std::min<uint64_t>(uint64_t(lengths_[index]) * BytesPerChannel, 2 * rowBytes + 4);
            packed_.resize(std::max(packed_.size(), wanted));
            got = stream.Read(packed_.data(), wanted);
            const uint8_t* source = packed_.data();
            decoder_->Decode(source, target, int32_t(got), int32_t(rowBytes));
        } else {
            stream.SetPosition(BasePosition + kHeaderSize + rowBytes * (k * height + Row));
            got = stream.Read(target, rowBytes);
            std::memset(target + got, 0, rowBytes - got);
        }
    }
}

void TSGIGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const TImageProperties& p = ImageProperties;
    // A picture without pixels is no picture.
    if (p.Width == 0 || p.Height == 0)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);
    stream.SetPosition(BasePosition);
    uint8_t header[kHeaderSize];
    stream.ReadBuffer(header, sizeof header);
    Stream_ = &stream;

    const uint32_t bytesPerChannel = p.BitsPerSample / 8u;
    // The bitmap: 8 bits a channel, whatever the file's depth (the channel rows held are a
    // row each).
    ImageBytes(p.Width, p.Height, 8 * uint64_t(p.SamplesPerPixel), kFormatName);

    TColorManager& cm = *ColorManager;
    cm.SourceOptions = coNeedByteSwap;   // 16-bit samples are big-endian
    // The tables come before the colour settings: a file cut short in them says so first.
    const uint64_t rowCount = uint64_t(p.Height) * p.SamplesPerPixel;
    if (p.Compression == ctRLE) {
        // Both tables must be in the stream before anything is allocated for them.
        stream.Require(8 * rowCount);
        starts_.resize(std::size_t(rowCount));
        lengths_.resize(std::size_t(rowCount));
        for (auto* table : {&starts_, &lengths_})
            for (uint32_t& value : *table)
                value = stream.U32BE();
        decoder_ = std::make_unique<TSGIRLEDecoder>(p.BitsPerSample);
    }
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    cm.SetTargetBitsPerSample(8);
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    cm.SetSourceColorScheme(p.ColorScheme);
    cm.SetTargetColorScheme(p.ColorScheme == csRGB ? csBGR : p.ColorScheme == csRGBA ? csBGRA : csIndexed);
    if (p.Compression != ctRLE)
        stream.Require(rowCount * p.Width * bytesPerChannel);

    SetPixelFormat(cm.GetPixelFormat(1));
    SetSize(p.Width, p.Height);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);

    const std::size_t channelBytes = std::size_t(p.Width) * bytesPerChannel;
    std::vector<uint8_t> planes(channelBytes * p.SamplesPerPixel);
    uint8_t* plane[4] = {};
    for (std::size_t k = 0; k < p.SamplesPerPixel && k < 4; ++k)
        plane[k] = planes.data() + k * channelBytes;
    if (p.ColorScheme == csIndexed)
        SetPalette(cm.CreateGrayscalePalette(false));
    for (uint32_t y = 0; y < p.Height && !Empty(); ++y) {
        std::span<uint8_t> row(ScanLine(p.Height - 1 - y), BytesPerRow());
        if (p.ColorScheme == csRGBA) {
            ReadAndDecode(plane[0], plane[1], plane[2], plane[3], y, bytesPerChannel);
            cm.ConvertRow({plane[0], plane[1], plane[2], plane[3]}, row, p.Width, 0xFF);
        } else if (p.ColorScheme == csRGB) {
            ReadAndDecode(plane[0], plane[1], plane[2], nullptr, y, bytesPerChannel);
            cm.ConvertRow({plane[0], plane[1], plane[2]}, row, p.Width, 0xFF);
        } else if (bytesPerChannel == 1) {
            ReadAndDecode(row.data(), nullptr, nullptr, nullptr, y, bytesPerChannel);
        } else {
            // 16-bit grey: two bytes a sample do not fit the 8-bit row; scaled down on the way.
            ReadAndDecode(plane[0], nullptr, nullptr, nullptr, y, bytesPerChannel);
            cm.ConvertRow({plane[0]}, row, p.Width, 0xFF);
        }
        ProgressRow(y, p.Height);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    decoder_.reset();
    starts_.clear();
    lengths_.clear();
    packed_.clear();
    Stream_ = nullptr;
} catch (...) {
    decoder_.reset();
    Stream_ = nullptr;
    RethrowImageError(kFormatName);
}
