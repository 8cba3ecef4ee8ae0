#include "imaging/PSP.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Sizes.h"
#include "platform/Stream.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>

#include <zlib.h>

namespace {

const char* const kFormatName = "PSP";
const char kSignature[] = "Paint Shop Pro Image File";
constexpr std::size_t kSignatureLength = sizeof kSignature - 1;   // 25
constexpr std::size_t kFileHeaderSize = 36;
constexpr std::size_t kAttributesSize = 42;
constexpr uint16_t kPaletteBlock = 2, kLayerBankBlock = 3, kLayerBlock = 4;
constexpr std::size_t kLayerInfoSize = 115;

std::unique_ptr<Bitmap> create() { return std::make_unique<TPSPGraphic>(); }

// The file header's signature and major version, when they are those of a file we read.
bool validHeader(const uint8_t (&header)[kFileHeaderSize], uint16_t& major)
{
    for (std::size_t i = 0; i < kSignatureLength; ++i)
        if (std::tolower(header[i]) != std::tolower(uint8_t(kSignature[i])))
            return false;
    major = LoadU16LE(header + 32);
    return major >= 3;
}

} // namespace

const GraphicClass& TPSPGraphic::Class()
{
    static const GraphicClass cls{"TPSPGraphic", &create, &TPSPGraphic::CanLoad, true};
    return cls;
}

bool TPSPGraphic::CanLoad(Stream& stream)
{
    uint64_t start = stream.Position();
    if (stream.Remaining() <= kFileHeaderSize)
        return false;
    uint8_t header[kFileHeaderSize];
    std::size_t got = stream.Read(header, sizeof header);
    stream.SetPosition(start);
    uint16_t major;
    return got == sizeof header && validHeader(header, major);
}

bool TPSPGraphic::ReadPropertyBlockHeader(Stream& stream, BlockHeader& header)
{
    if (stream.Position() >= stream.Size())
        return false;
    stream.ReadBuffer(header.HeaderIdent, 4);
    header.BlockIdentifier = stream.U16LE();
    if (ImageProperties.Version == 3)
        header.InitialChunkLength = stream.U32LE();
    header.TotalBlockLength = stream.U32LE();
    return true;
}

bool TPSPGraphic::ReadBlockHeader()
{
    return ReadPropertyBlockHeader(*Stream_, FHeader);
}

uint64_t TPSPGraphic::ChunkEnd()
{
    uint64_t start = Stream_->Position();
    return start + Stream_->U32LE();
}

void TPSPGraphic::GoForward(uint64_t position)
{
    if (position > Stream_->Position())
        Stream_->SetPosition(position);
}

bool TPSPGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    TImageProperties& p = ImageProperties;
    uint8_t header[kFileHeaderSize];
    stream.ReadBuffer(header, sizeof header);
    uint16_t major;
    if (!validHeader(header, major))
        return false;
    p.Version = major;
    BlockHeader block;
    if (!ReadPropertyBlockHeader(stream, block))
        return false;
    uint64_t blockStart = stream.Position();
    if (major > 3)
        stream.Skip(4);
    uint8_t a[kAttributesSize];
    stream.ReadBuffer(a, sizeof a);
    stream.SetPosition(std::max(stream.Position(), blockStart + block.TotalBlockLength));

    auto width = int32_t(LoadU32LE(a)), height = int32_t(LoadU32LE(a + 4));
    // A picture without pixels, or with a negative size, is none.
    if (width <= 0 || height <= 0)
        return false;
    uint16_t bitDepth = LoadU16LE(a + 19);
    if (bitDepth == 24) {
        p.BitsPerSample = 8, p.SamplesPerPixel = 3, p.ColorScheme = csRGB;
    } else {
        p.BitsPerSample = bitDepth > 255 ? 0 : uint8_t(bitDepth);
        p.SamplesPerPixel = 1;
        p.ColorScheme = a[27] ? csG : csIndexed;
    }
    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    p.Width = uint32_t(width);
    p.Height = uint32_t(height);
    static constexpr TCompressionType schemes[] = {ctNone, ctRLE, ctLZ77, ctJPEG};
    uint16_t compression = LoadU16LE(a + 17);
    p.Compression = compression < 4 ? schemes[compression] : ctUnknown;
    auto resolution = std::bit_cast<double>(uint64_t(LoadU32LE(a + 8)) | uint64_t(LoadU32LE(a + 12)) << 32);
    p.XResolution = float(resolution);
    if (a[16] == 2)   // per centimetre
        p.XResolution *= 2.54f;
    p.YResolution = p.XResolution;
    return true;
}

void TPSPGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    Stream_ = &stream;
    for (auto& plane : FPlanes)
        plane = {};
    FCompositeFromImage = FLayerRead = false;
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    const TImageProperties& p = ImageProperties;
    stream.SetPosition(BasePosition);
    ProgressRect = {0, 0, int32_t(p.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);

    stream.Skip(kFileHeaderSize);
    ReadBlockHeader();
    uint64_t blockEnd = stream.Position() + FHeader.TotalBlockLength;
    if (p.Version > 3)
        stream.Skip(4);
    uint8_t a[kAttributesSize];
    stream.ReadBuffer(a, sizeof a);
    GoForward(blockEnd);
    FCompression = LoadU16LE(a + 17);
    // JPEG and unknown schemes have no decoder.
    if (FCompression > 2)
        RasterErrorFmt(gesUnsupportedFeature, gesCompressionScheme, kFormatName);

    switch (p.BitsPerSample) {
    case 1: FRowSize = (std::size_t(p.Width) + 7) / 8; break;
    case 4: FRowSize = std::size_t(p.Width) / 2 + 1; break;
    case 8: FRowSize = p.Width; break;
    default: RasterErrorFmt(gesInvalidColorFormat, kFormatName);
    }
    TColorManager& cm = *ColorManager;
    cm.SourceOptions = 0;
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    cm.SetTargetBitsPerSample(p.BitsPerSample);
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    cm.SetSourceColorScheme(p.ColorScheme);
    cm.SetTargetColorScheme(p.ColorScheme == csRGB ? csBGR : p.ColorScheme);
    SetPixelFormat(cm.GetPixelFormat(1));
    // The bitmap as it is made; one that grows to 32 bits for a transparency is checked
    // again then, and each plane when it is read.
    ImageBytes(p.Width, p.Height, uint64_t(BitsPerPixel(GetPixelFormat())), kFormatName);
    SetSize(p.Width, p.Height);
    // Grey pictures show as grey until a palette block says otherwise.
    if (p.ColorScheme == csG)
        SetPalette(cm.CreateGrayscalePalette(false));
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");

    while (!FLayerRead && ReadBlockHeader() && FHeader.HeaderIdent[0] == '~') {
        blockEnd = stream.Position() + uint64_t(FHeader.TotalBlockLength);
        if (FHeader.BlockIdentifier == kPaletteBlock) {
            if (p.Version > 3)
                stream.Skip(4);
            uint32_t count = stream.U32LE();
            // The palette holds 256 entries: more give the first 256.
            uint32_t kept = std::min<uint32_t>(count, 256);
            std::vector<uint8_t> entries(std::size_t(kept) * 4);
            stream.ReadBuffer(entries.data(), entries.size());
            SetPalette(cm.CreateColorPalette({entries.data()}, pfInterlaced8Quad, kept, true));
        } else if (FHeader.BlockIdentifier == kLayerBankBlock) {
            ReadLayerBank(blockEnd);
        }
        GoForward(blockEnd);
    }
    // A file whose layer bank holds no raster layer has no picture.
    if (!FLayerRead)
        RasterErrorFmt(gesInvalidImage, kFormatName);
    for (auto& plane : FPlanes)
        plane = {};
} catch (...) {
    for (auto& plane : FPlanes)
        plane = {};
    RethrowImageError(kFormatName);
}

void TPSPGraphic::ReadLayerBank(uint64_t bankEnd)
{
    Stream& stream = *Stream_;
    const uint32_t version = ImageProperties.Version;
    while (stream.Position() < bankEnd && ReadBlockHeader() && FHeader.BlockIdentifier == kLayerBlock) {
        uint64_t layerEnd = stream.Position() + uint64_t(FHeader.TotalBlockLength);
        Progress(ProgressStage::Starting, 0, false, ProgressRect, gesLoadingData);
        uint64_t infoEnd = 0;
        if (version > 3) {
            infoEnd = ChunkEnd();
            stream.Skip(stream.U16LE());
        } else {
            stream.Skip(256);
        }
        uint8_t info[kLayerInfoSize];
        stream.ReadBuffer(info, sizeof info);
        GoForward(infoEnd);
        // Version 3 keeps layers of type 0; later ones raster layers (types 0 and 1).
        if (version > 3 ? info[0] >= 2 : info[0] != 0) {
            GoForward(layerEnd);
            continue;
        }
        uint64_t bitmapEnd = version > 3 ? ChunkEnd() : 0;
        stream.U16LE();   // bitmap count
        uint16_t channels = stream.U16LE();
        GoForward(bitmapEnd);
        for (uint16_t i = 0; i < channels; ++i)
            ReadChannel();
        if (ImageProperties.ColorScheme == csRGB && !FPlanes[0].empty()) {
            // A composite channel beside red, green and blue is the transparency: it becomes
            // the alpha of a 32-bit picture.
            ImageBytes(ImageProperties.Width, ImageProperties.Height, 32, kFormatName);
            ColorManager->SetSourceColorScheme(csRGBA);
            ColorManager->SetSourceSamplesPerPixel(4);
            ColorManager->SetTargetColorScheme(csBGRA);
            ColorManager->SetTargetSamplesPerPixel(4);
            SetPixelFormat(PixelFormat::Bits32);
        }
        Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
        TransferPlanes();
        FLayerRead = true;
        return;
    }
}

void TPSPGraphic::ReadChannel()
{
    Stream& stream = *Stream_;
    ReadBlockHeader();
    uint64_t channelEnd = stream.Position() + uint64_t(FHeader.TotalBlockLength);
    uint64_t infoStart = stream.Position();
    uint64_t infoEnd = ImageProperties.Version > 3 ? ChunkEnd() : 0;
    uint32_t compressedLength = stream.U32LE();
    uint32_t uncompressedLength = stream.U32LE();
    uint16_t bitmapType = stream.U16LE();
    uint16_t channelType = stream.U16LE();
    GoForward(std::max(infoEnd, infoStart));
    // Channels of other types are stepped over by their length; a mask's composite channel
    // never replaces the image's own.
    bool wanted = channelType <= 3 && !(channelType == 0 && FCompositeFromImage);
    if (wanted) {
        // The plane, which holds the channel's rows and nothing more, within the cap; a
        // channel that says it is shorter than its rows, or longer than any plane can be,
        // is damaged.
        const TImageProperties& p = ImageProperties;
        std::size_t rows = BufferBytes({FRowSize, p.Height}, p.Width, p.Height, kFormatName);
        if (uncompressedLength < rows || uncompressedLength > MaxImageBytes)
            RasterErrorFmt(gesInvalidImage, kFormatName);
        std::vector<uint8_t>& plane = FPlanes[channelType];
        plane.assign(rows, 0);
        if (FCompression == 0) {
            stream.ReadBuffer(plane.data(), std::min<std::size_t>(compressedLength, rows));
        } else {
            ReadAndDecode(plane, compressedLength);
        }
        if (channelType == 0)
            FCompositeFromImage = bitmapType == 0;
    }
    GoForward(channelEnd);
}

void TPSPGraphic::ReadAndDecode(std::vector<uint8_t>& plane, uint32_t compressedLength)
{
    Stream_->Require(compressedLength);
    BufferBytes({compressedLength}, ImageProperties.Width, ImageProperties.Height, kFormatName);
    std::vector<uint8_t> packed(compressedLength);
    Stream_->ReadBuffer(packed.data(), packed.size());
    const uint8_t* source = packed.data();
    uint8_t* dest = plane.data();
    auto packedSize = int32_t(std::min<uint32_t>(compressedLength, INT32_MAX));
    auto unpackedSize = int32_t(plane.size());
    if (FCompression == 1) {
        TPSPRLEDecoder decoder;
        decoder.DecodeInit();
        decoder.Decode(source, dest, packedSize, unpackedSize);
        decoder.DecodeEnd();
    } else {
        TLZ77Decoder decoder(Z_FINISH, false);
        decoder.DecodeInit();
        decoder.Decode(source, dest, packedSize, unpackedSize);
        // Damaged data is an error, not a picture made of what came before it; more data
        // than the rows need is not.
        bool fullRows = decoder.Status() == Z_BUF_ERROR && decoder.GetAvailableOutput() == 0;
        if (decoder.Status() < 0 && !fullRows)
            CompressionError(gesLZ77Error);
        decoder.DecodeEnd();
    }
}

void TPSPGraphic::TransferPlanes()
{
    const uint32_t width = ImageProperties.Width, height = ImageProperties.Height;
    const bool indexed = ColorManager->TargetColorScheme() == csIndexed || ColorManager->TargetColorScheme() == csG;
    const bool alpha = ColorManager->TargetColorScheme() == csBGRA;
    // Every plane the picture is made of must be there.
    std::vector<int> used = indexed ? std::vector<int>{0} : alpha ? std::vector<int>{1, 2, 3, 0} : std::vector<int>{1, 2, 3};
    for (int k : used)
        if (FPlanes[k].empty())
            RasterErrorFmt(gesInvalidImage, kFormatName);
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    const void* sources[4];
    for (uint32_t y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < used.size(); ++i)
            sources[i] = FPlanes[used[i]].data() + std::size_t(y) * FRowSize;
        ColorManager->ConvertRow(sources, used.size(), std::span(ScanLine(y), BytesPerRow()), width, 0xFF);
        ProgressRow(y, height);
    }
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
}
