#include "imaging/PNG.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <zlib.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

const char* const kFormatName = "PNG";
const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t kNoTransparentColor = 0x1FFFFFFF;

// Adam7 passes: where each starts and how far it steps, and the columns of every eight it
// fills, as the row conversion's mask.
constexpr uint8_t kRowStart[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr uint8_t kColumnStart[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr uint8_t kRowStep[7] = {8, 8, 8, 4, 4, 2, 2};
constexpr uint8_t kColumnStep[7] = {8, 8, 4, 4, 2, 2, 1};
constexpr uint8_t kPassMask[7] = {0x80, 0x08, 0x88, 0x22, 0xAA, 0x55, 0xFF};

// Deflate packs at most 1032 bytes into one: image data needs at least this much file.
constexpr uint64_t kMaxDeflateRatio = 1032;

std::unique_ptr<Bitmap> create() { return std::make_unique<TPNGGraphic>(); }

PNGHeader parseHeader(const std::vector<uint8_t>& data)
{
    ByteReader r(data.data(), data.size());
    PNGHeader h;
    h.Width = r.U32BE();
    h.Height = r.U32BE();
    h.BitDepth = r.U8();
    h.ColorType = r.U8();
    h.Compression = r.U8();
    h.Filter = r.U8();
    h.Interlace = r.U8();
    return h;
}

} // namespace

uint8_t PaethPredictor(uint8_t A, uint8_t B, uint8_t C)
{
    int pa = std::abs(int(B) - int(C));             // |p - a| with p = a + b - c
    int pb = std::abs(int(A) - int(C));             // |p - b|
    int pc = std::abs(int(A) + int(B) - 2 * int(C)); // |p - c|
    if (pa <= pb && pa <= pc)
        return A;
    return pb <= pc ? B : C;
}

TPNGGraphic::TPNGGraphic() = default;
TPNGGraphic::~TPNGGraphic() = default;

const GraphicClass& TPNGGraphic::Class()
{
    static const GraphicClass cls{"TPNGGraphic", &create, &TPNGGraphic::CanLoad, true};
    return cls;
}

bool TPNGGraphic::CanLoad(Stream& stream)
{
    uint64_t start = stream.Position();
    if (stream.Remaining() <= sizeof kSignature)
        return false;
    uint8_t bytes[sizeof kSignature];
    std::size_t got = stream.Read(bytes, sizeof bytes);
    stream.SetPosition(start);
    return got == sizeof bytes && std::memcmp(bytes, kSignature, sizeof bytes) == 0;
}

bool TPNGGraphic::IsChunk(const char (&ChunkType)[5]) const
{
    for (int i = 0; i < 4; ++i)
        if ((FHeader.Type[i] & ~0x20) != (uint8_t(ChunkType[i]) & ~0x20))
            return false;
    return true;
}

uint32_t TPNGGraphic::LoadAndSwapHeader()
{
    uint8_t bytes[8];
    Stream_->ReadBuffer(bytes, sizeof bytes);
    FHeader.Length = LoadU32BE(bytes);
    std::memcpy(FHeader.Type, bytes + 4, 4);
    FCRC = uint32_t(crc32(0, bytes + 4, 4));
    return FCRC;
}

void TPNGGraphic::ReadDataAndCheckCRC()
{
    // The chunk and its CRC must be there before the buffer grows for them, and the
    // buffer, which holds a whole chunk, within the cap.
    Stream_->Require(uint64_t(FHeader.Length) + 4);
    BufferBytes({FHeader.Length}, ImageProperties.Width, ImageProperties.Height, kFormatName);
    if (FRawBuffer.size() < FHeader.Length)
        FRawBuffer.resize(FHeader.Length);
    Stream_->ReadBuffer(FRawBuffer.data(), FHeader.Length);
    uint32_t stored = Stream_->U32BE();
    FCRC = uint32_t(crc32(FCRC, FRawBuffer.data(), FHeader.Length));
    if (FCRC != stored)
        RasterErrorFmt(gesInvalidCRC, kFormatName);
}

void TPNGGraphic::SkipChunk()
{
    Stream_->Skip(uint64_t(FHeader.Length) + 4);
}

bool TPNGGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    Stream_ = &stream;
    uint8_t signature[sizeof kSignature];
    stream.ReadBuffer(signature, sizeof signature);
    if (std::memcmp(signature, kSignature, sizeof signature) != 0)
        return false;
    LoadAndSwapHeader();
    if (!IsChunk("IHDR") || FHeader.Length != 13)
        return false;
    TImageProperties& p = ImageProperties;
    p.Options = TImageOptions(p.Options | ioBigEndian);
    ReadDataAndCheckCRC();
    PNGHeader h = parseHeader(FRawBuffer);
    if (h.Width == 0 || h.Height == 0)
        return false;
    p.Width = h.Width;
    p.Height = h.Height;
    p.Compression = h.Compression == 0 ? ctLZ77 : ctUnknown;
    p.BitsPerSample = h.BitDepth;
    switch (h.ColorType) {
    case 0: p.ColorScheme = csG, p.SamplesPerPixel = 1; break;
    case 2: p.ColorScheme = csRGB, p.SamplesPerPixel = 3; break;
    case 3: p.ColorScheme = csIndexed, p.SamplesPerPixel = 1; break;
    case 4: p.ColorScheme = csGA, p.SamplesPerPixel = 1; break;
    case 6: p.ColorScheme = csRGBA, p.SamplesPerPixel = 4; break;
    default: p.ColorScheme = csUnknown, p.SamplesPerPixel = 1; break;
    }
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    p.FilterMode = h.Filter;
    p.Interlaced = h.Interlace != 0;
    p.HasAlpha = p.ColorScheme == csGA || p.ColorScheme == csRGBA || p.ColorScheme == csBGRA;

    // The file gamma, when a gAMA chunk comes before the end.
    for (;;) {
        LoadAndSwapHeader();
        if (IsChunk("gAMA")) {
            ReadDataAndCheckCRC();
            if (FHeader.Length >= 4)
                p.FileGamma = float(LoadU32BE(FRawBuffer.data())) / 100000;
            return true;
        }
        if (IsChunk("IEND"))
            return true;
        SkipChunk();
    }
}

uint32_t TPNGGraphic::SetupColorDepth(uint8_t ColorType, uint8_t BitDepth)
{
    // Per colour type: the depths it may have, the schemes, samples, the bitmap's format (none:
    // the colour manager's), whether it is grey, and the samples one filter step spans.
    struct Setup {
        uint8_t colorType;
        uint32_t depths;   // bit d set: depth d allowed
        TColorScheme source, target;
        uint8_t samples;
        PixelFormat format;
        bool grey;
        uint8_t stepSamples;
    };
    static constexpr Setup setups[] = {
        {0, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8 | 1u << 16, csG, csG, 1, PixelFormat::None, true, 1},
        {2, 1u << 8 | 1u << 16, csRGB, csBGR, 3, PixelFormat::Bits24, false, 3},
        {3, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8, csIndexed, csIndexed, 1, PixelFormat::None, false, 1},
        {4, 1u << 8 | 1u << 16, csGA, csIndexed, 1, PixelFormat::Bits8, true, 2},
        {6, 1u << 8 | 1u << 16, csRGBA, csBGRA, 4, PixelFormat::Bits32, false, 4},
    };
    const Setup* setup = std::find_if(std::begin(setups), std::end(setups),
                                      [&](const Setup& s) { return s.colorType == ColorType; });
    if (setup == std::end(setups) || BitDepth > 16 || !(setup->depths >> BitDepth & 1))
        RasterErrorFmt(gesInvalidColorFormat, kFormatName);
    TColorManager& cm = *ColorManager;
    cm.SetSourceColorScheme(setup->source);
    cm.SetTargetColorScheme(setup->target);
    cm.SetSourceSamplesPerPixel(setup->samples);
    cm.SetTargetSamplesPerPixel(setup->samples);
    cm.SetSourceBitsPerSample(BitDepth);
    // 2-bit samples go into a 4-bit bitmap, 16-bit ones into 8 bits.
    cm.SetTargetBitsPerSample(BitDepth == 2 ? 4 : std::min<uint8_t>(BitDepth, 8));
    SetPixelFormat(setup->format == PixelFormat::None ? cm.GetPixelFormat(1) : setup->format);
    if (setup->grey)
        SetPalette(cm.CreateGrayscalePalette(false));
    FSourceBPP = setup->stepSamples * ((BitDepth + 7u) / 8);
    return FSourceBPP;
}

uint8_t TPNGGraphic::GreyLevel(uint16_t value, uint8_t bitDepth) const
{
    if (bitDepth == 16)
        return uint8_t(MulDiv16(value, 255, 65535));
    if (bitDepth == 0 || bitDepth > 8)
        return uint8_t(value);
    uint16_t max = uint16_t((1u << bitDepth) - 1);
    return uint8_t(MulDiv16(uint16_t(value & max), 255, max));
}

uint32_t TPNGGraphic::MakeColor(uint8_t red, uint8_t green, uint8_t blue) const
{
    // The pixels pass through the gamma table, so a colour compared with them must too.
    if (ColorManager->TargetOptions & coApplyGamma) {
        const auto& table = ColorManager->GammaTable();
        red = table[red], green = table[green], blue = table[blue];
    }
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

void TPNGGraphic::LoadBackgroundColor(const PNGHeader& Description)
{
    ReadDataAndCheckCRC();
    const uint8_t* d = FRawBuffer.data();
    auto sample = [&](int i) { return LoadU16BE(d + 2 * i); };
    auto component = [&](int i) {
        return Description.BitDepth == 16 ? uint8_t(MulDiv16(sample(i), 255, 65535)) : uint8_t(sample(i));
    };
    switch (Description.ColorType) {
    case 0:
    case 4:
        // A grey level fills as that grey.
        if (FHeader.Length >= 2) {
            uint8_t level = GreyLevel(sample(0), Description.BitDepth);
            FBackgroundColor = MakeColor(level, level, level);
        }
        break;
    case 2:
    case 6:
        if (FHeader.Length >= 6)
            FBackgroundColor = MakeColor(component(0), component(1), component(2));
        break;
    case 3: {
        // A palette index fills as that entry's colour. Indices are spread over the bitmap's
        // deeper palette as the pixels are (2-bit images load as 4-bit).
        const auto& entries = GetPalette().Entries();
        if (FHeader.Length >= 1 && Description.BitDepth >= 1 && Description.BitDepth <= 8) {
            uint16_t sourceMax = uint16_t((1u << Description.BitDepth) - 1);
            uint16_t targetMax = uint16_t((1u << ColorManager->TargetBitsPerSample()) - 1);
            std::size_t index = MulDiv16(uint16_t(d[0] & sourceMax), targetMax, sourceMax);
            if (index < entries.size())
                FBackgroundColor = uint32_t(entries[index].red) | uint32_t(entries[index].green) << 8 |
                                   uint32_t(entries[index].blue) << 16;
        }
        break;
    }
    default: break;
    }
}

void TPNGGraphic::LoadTransparency(const PNGHeader& Description)
{
    ReadDataAndCheckCRC();
    const uint8_t* d = FRawBuffer.data();
    auto sample = [&](int i) { return LoadU16BE(d + 2 * i); };
    auto component = [&](int i) {
        return Description.BitDepth == 16 ? uint8_t(MulDiv16(sample(i), 255, 65535)) : uint8_t(sample(i));
    };
    if (Description.ColorType == 0 && FHeader.Length >= 2) {
        uint8_t level = GreyLevel(sample(0), Description.BitDepth);
        FTransparentColor = MakeColor(level, level, level);
    } else if (Description.ColorType == 2 && FHeader.Length >= 6) {
        FTransparentColor = MakeColor(component(0), component(1), component(2));
    }
}

void TPNGGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    FDecoder.reset();
    Stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, kFormatName);
    stream.SetPosition(BasePosition + sizeof kSignature);
    ProgressRect = {0, 0, int32_t(ImageProperties.Width), 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);
    FBackgroundColor = 0xFFFFFF;
    FTransparentColor = kNoTransparentColor;
    // Every image starts from a colour manager without another image's gamma or layout.
    ColorManager = std::make_unique<TColorManager>();

    try {
        LoadAndSwapHeader();
        ReadDataAndCheckCRC();
        PNGHeader description = parseHeader(FRawBuffer);
        ColorManager->SourceOptions = coNeedByteSwap;
        if (ImageProperties.Compression != ctLZ77)
            RasterErrorFmt(gesUnsupportedFeature, gesCompressionScheme, kFormatName);
        FDecoder = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
        FDecoder->DecodeInit();

        bool imageRead = false;
        LoadAndSwapHeader();
        for (;;) {
            if (IsChunk("IEND"))
                break;
            if (!imageRead && IsChunk("IDAT")) {
                Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
                LoadIDAT(description);
                imageRead = true;
                continue;   // LoadIDAT has read the header of the chunk after the image data
            }
            if (imageRead || !(IsChunk("PLTE") || IsChunk("gAMA") || IsChunk("bKGD") || IsChunk("tRNS"))) {
                // Chunks after the image data, and ones this reader does not know, are
                // skipped when ancillary (bit 5 of the first letter) and refused when not.
                SkipChunk();
                if (!(FHeader.Type[0] & 0x20))
                    RasterError(gesUnknownCriticalChunk);
            } else if (IsChunk("PLTE")) {
                if (FHeader.Length % 3 != 0)
                    RasterErrorFmt(gesInvalidPalette, kFormatName);
                ReadDataAndCheckCRC();
                if (description.ColorType == 3) {
                    SetupColorDepth(description.ColorType, description.BitDepth);
                    SetPalette(ColorManager->CreateColorPalette({FRawBuffer.data()}, pfInterlaced8Triple,
                                                                FHeader.Length / 3, false));
                }
            } else if (IsChunk("gAMA")) {
                ReadDataAndCheckCRC();
                if (FHeader.Length >= 4) {
                    ColorManager->SetGamma(float(LoadU32BE(FRawBuffer.data())) / 100000, 2.2f);
                    ColorManager->TargetOptions = TConvertOptions(ColorManager->TargetOptions | coApplyGamma);
                    ImageProperties.Options = TImageOptions(ImageProperties.Options | ioUseGamma);
                }
            } else if (IsChunk("bKGD")) {
                LoadBackgroundColor(description);
            } else {
                LoadTransparency(description);
            }
            LoadAndSwapHeader();
        }
        // A file that ends without image data has no picture to show.
        if (!imageRead)
            RasterErrorFmt(gesInvalidImage, kFormatName);
    } catch (...) {
        FDecoder.reset();
        FRawBuffer = {};
        Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
        throw;
    }
    FDecoder->DecodeEnd();
    FDecoder.reset();
    FRawBuffer = {};
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
} catch (...) {
    RethrowImageError(kFormatName);
}

void TPNGGraphic::LoadIDAT(const PNGHeader& Description)
{
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    if (GetPixelFormat() == PixelFormat::None)
        SetupColorDepth(Description.ColorType, Description.BitDepth);
    const uint32_t width = Description.Width, height = Description.Height;
    const uint32_t samples = Description.BitDepth == 16 ? FSourceBPP / 2 : FSourceBPP;

    // Sizes in 64 bits, before anything is allocated: the bitmap and the two rows held
    // (every pass goes row by row) against the cap; the inflated rows with their filter
    // bytes against what the file can still hold.
    ImageBytes(width, height, uint64_t(BitsPerPixel(GetPixelFormat())), kFormatName);
    const uint64_t rowBits = uint64_t(Description.BitDepth) * samples;
    const std::size_t rowSize = std::size_t((uint64_t(width) * rowBits + 7) / 8 + 1);
    BufferBytes({2, rowSize}, width, height, kFormatName);
    // Within the bitmap's cap the product cannot wrap: rows of at most 64 bits a pixel.
    Stream_->Require(uint64_t(rowSize) * height / kMaxDeflateRatio);

    SetSize(width, height);
    if (FTransparentColor != kNoTransparentColor) {
        SetTransparentColor(FTransparentColor);
        SetTransparent(true);
    }

    std::vector<uint8_t> buffers(2 * rowSize, 0);
    uint8_t* current = buffers.data();
    uint8_t* prior = buffers.data() + rowSize;
    FIDATSize = 0;
    // Rows whose image data never came keep the background: the rows from a given one are
    // filled with a copy of one row filled with it.
    auto fillFrom = [&](uint32_t first) {
        Bitmap line;
        line.SetPixelFormat(GetPixelFormat());
        line.SetSize(width, 1);
        line.SetPalette(GetPalette());
        line.Fill(FBackgroundColor);
        for (uint32_t y = first; y < height; ++y)
            std::memcpy(ScanLine(y), line.ScanLine(0), BytesPerRow());
    };
    auto transfer = [&](uint32_t y, std::size_t size, uint8_t mask) {
        if (!ReadRow(current, size))
            return false;
        ApplyFilter(current[0], current + 1, prior + 1, current + 1, FSourceBPP, size - 1);
        ColorManager->ConvertRow({current + 1}, std::span(ScanLine(y), BytesPerRow()), width, mask);
        std::swap(current, prior);
        return true;
    };
    if (Description.Interlace != 1) {
        for (uint32_t y = 0; y < height; ++y) {
            if (!transfer(y, rowSize, 0xFF)) {
                fillFrom(y);
                break;
            }
            ProgressRow(y, height);
        }
    } else {
        // Passes fill a row bit by bit; what no pass reaches shows the background.
        fillFrom(0);
        bool more = true;
        for (int pass = 0; pass < 7 && more; ++pass) {
            if (kColumnStart[pass] >= width)
                continue;
            uint64_t passWidth = (uint64_t(width) + kColumnStep[pass] - 1 - kColumnStart[pass]) / kColumnStep[pass];
            std::size_t passRowSize = std::size_t((passWidth * Description.BitDepth + 7) / 8 * samples + 1);
            std::memset(prior, 0, passRowSize);
            for (uint32_t y = kRowStart[pass]; y < height && more; y += kRowStep[pass]) {
                more = transfer(y, passRowSize, kPassMask[pass]);
                if (more && pass == 6)
                    ProgressRow(y, height);
            }
        }
    }
    // Further image data is checked but not used.
    while (IsChunk("IDAT")) {
        ReadDataAndCheckCRC();
        LoadAndSwapHeader();
    }
}

bool TPNGGraphic::ReadRow(uint8_t* RowBuffer, std::size_t BytesPerRow)
{
    uint8_t* dest = RowBuffer;
    uint8_t* const end = RowBuffer + BytesPerRow;
    while (dest < end) {
        // The next non-empty IDAT chunk, when the current one is used up.
        while (FIDATSize == 0) {
            if (!IsChunk("IDAT"))
                return false;
            ReadDataAndCheckCRC();
            FCurrentSource = FRawBuffer.data();
            FIDATSize = FHeader.Length;
            LoadAndSwapHeader();
        }
        const uint8_t* source = FCurrentSource;
        FDecoder->Decode(source, dest, int32_t(std::min<uint32_t>(FIDATSize, INT32_MAX)), int32_t(end - dest));
        FIDATSize -= uint32_t(source - FCurrentSource);
        FCurrentSource = source;
        if (FDecoder->Status() == Z_STREAM_END) {
            // Data that ends before the image does leaves the row incomplete, as when the
            // image data chunks run out; bytes after the end of a complete image are extra.
            if (dest < end)
                return false;
            if (FIDATSize > 0)
                RasterErrorFmt(gesExtraCompressedData, kFormatName);
            return true;
        }
        if (FDecoder->Status() != Z_OK)
            RasterErrorFmt(gesCompression, kFormatName);
    }
    return true;
}

namespace {

#ifdef __SSE2__
// Filters whose bytes depend on the reconstructed pixel to their left go one pixel at a time;
// for pixels of three and four bytes all bytes of a pixel go together, in 16-bit lanes.
template <int BPP>
__m128i loadPixel(const uint8_t* p)
{
    int32_t v = 0;
    std::memcpy(&v, p, BPP);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}

template <int BPP>
void storePixel(uint8_t* p, __m128i v)
{
    int32_t x = _mm_cvtsi128_si32(_mm_packus_epi16(v, v));
    std::memcpy(p, &x, BPP);
}

__m128i absolute(__m128i x)
{
    return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x));
}

template <int BPP>
void subPixels(const uint8_t* line, uint8_t* target, std::size_t n)
{
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();
    for (std::size_t i = 0; i + BPP <= n; i += BPP) {
        a = _mm_and_si128(_mm_add_epi16(loadPixel<BPP>(line + i), a), low);
        storePixel<BPP>(target + i, a);
    }
}

template <int BPP>
void averagePixels(const uint8_t* line, const uint8_t* prev, uint8_t* target, std::size_t n)
{
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();
    for (std::size_t i = 0; i + BPP <= n; i += BPP) {
        __m128i b = loadPixel<BPP>(prev + i);
        a = _mm_and_si128(_mm_add_epi16(loadPixel<BPP>(line + i), _mm_srli_epi16(_mm_add_epi16(a, b), 1)), low);
        storePixel<BPP>(target + i, a);
    }
}

template <int BPP>
void paethPixels(const uint8_t* line, const uint8_t* prev, uint8_t* target, std::size_t n)
{
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    for (std::size_t i = 0; i + BPP <= n; i += BPP) {
        __m128i b = loadPixel<BPP>(prev + i);
        // With p = a + b - c: |p - a| = |b - c|, |p - b| = |a - c|, |p - c| = |a + b - 2c|.
        __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
        __m128i pa = absolute(bc), pb = absolute(ac), pc = absolute(_mm_add_epi16(ac, bc));
        __m128i smallest = _mm_min_epi16(pa, _mm_min_epi16(pb, pc));
        __m128i isB = _mm_cmpeq_epi16(pb, smallest), isA = _mm_cmpeq_epi16(pa, smallest);
        __m128i nearest = _mm_or_si128(_mm_and_si128(isB, b), _mm_andnot_si128(isB, c));
        nearest = _mm_or_si128(_mm_and_si128(isA, a), _mm_andnot_si128(isA, nearest));
        a = _mm_and_si128(_mm_add_epi16(loadPixel<BPP>(line + i), nearest), low);
        storePixel<BPP>(target + i, a);
        c = b;
    }
}

// True when the row was done here.
bool filterPixels(uint8_t filter, const uint8_t* line, const uint8_t* prev, uint8_t* target, uint32_t bpp,
                  std::size_t n)
{
    if ((bpp != 3 && bpp != 4) || n % bpp != 0 || filter < 1 || filter == 2 || filter > 4)
        return false;
    if (bpp == 3) {
        filter == 1 ? subPixels<3>(line, target, n)
                    : filter == 3 ? averagePixels<3>(line, prev, target, n) : paethPixels<3>(line, prev, target, n);
    } else {
        filter == 1 ? subPixels<4>(line, target, n)
                    : filter == 3 ? averagePixels<4>(line, prev, target, n) : paethPixels<4>(line, prev, target, n);
    }
    return true;
}
#else
bool filterPixels(uint8_t, const uint8_t*, const uint8_t*, uint8_t*, uint32_t, std::size_t)
{
    return false;
}
#endif

} // namespace

void TPNGGraphic::ApplyFilter(uint8_t Filter, const uint8_t* Line, const uint8_t* PrevLine, uint8_t* Target,
                              uint32_t BPP, std::size_t BytesPerRow)
{
    const std::size_t n = BytesPerRow, bpp = std::min<std::size_t>(BPP, n);
    if (filterPixels(Filter, Line, PrevLine, Target, BPP, n))
        return;
    switch (Filter) {
    case 1:   // Sub
        std::memmove(Target, Line, bpp);
        for (std::size_t i = bpp; i < n; ++i)
            Target[i] = uint8_t(Line[i] + Target[i - bpp]);
        break;
    case 2:   // Up
        for (std::size_t i = 0; i < n; ++i)
            Target[i] = uint8_t(Line[i] + PrevLine[i]);
        break;
    case 3:   // Average
        for (std::size_t i = 0; i < bpp; ++i)
            Target[i] = uint8_t(Line[i] + PrevLine[i] / 2);
        for (std::size_t i = bpp; i < n; ++i)
            Target[i] = uint8_t(Line[i] + (Target[i - bpp] + PrevLine[i]) / 2);
        break;
    case 4:   // Paeth
        for (std::size_t i = 0; i < bpp; ++i)
            Target[i] = uint8_t(Line[i] + PaethPredictor(0, PrevLine[i], 0));
        for (std::size_t i = bpp; i < n; ++i)
            Target[i] = uint8_t(Line[i] + PaethPredictor(Target[i - bpp], PrevLine[i], PrevLine[i - bpp]));
        break;
    default:  // None, and filters that do not exist
        if (Target != Line)
            std::memmove(Target, Line, n);
        break;
    }
}
