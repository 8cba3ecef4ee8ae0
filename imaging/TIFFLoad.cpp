// Loading a TIFF image: the colour manager set up from the directory, the palette, the
// strip decoder, and the strips turned into bitmap rows.
#include "imaging/TIFF.h"

#include "imaging/GraphicCompression.h"
#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Bit order reversed within every byte, for data stored least significant bit first.
struct BitReversal {
    uint8_t table[256];
    BitReversal()
    {
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b)
                r |= ((i >> b) & 1) << (7 - b);
            table[i] = uint8_t(r);
        }
    }
    void apply(uint8_t* p, std::size_t n) const
    {
        for (std::size_t i = 0; i < n; ++i)
            p[i] = table[p[i]];
    }
};

// Whether the scheme's sample count fits what the file says: grey and indices one sample,
// two with alpha; RGB three, or four with alpha; CMYK four; Lab and YCbCr three.
bool samplesFit(TColorScheme scheme, uint32_t samples, bool alpha)
{
    switch (scheme) {
    case csG:
    case csIndexed: return samples == 1 || (samples == 2 && alpha);
    case csRGB:
    case csCIELab:
    case csYCbCr: return samples == 3;
    case csRGBA:
    case csCMYK: return samples == 4;
    default: return true;   // the colour manager refuses what it cannot convert
    }
}

// The most decoded bytes one stored byte can give under each compression. Fax and JPEG have
// no hard limit; their bound lies far above what any encoder reaches.
uint64_t maxExpansion(TCompressionType compression)
{
    switch (compression) {
    case ctNone: return 1;
    case ctPackedBits: return 64;     // a run of 128 bytes in two
    case ctThunderscan: return 32;    // a run of 63 four-bit pixels in one byte
    case ctLZ77: return 1032;         // deflate's own limit
    default: return 4096;
    }
}

// Uncompressed strips are read this much at a time (a row at the least).
constexpr uint64_t kPieceBytes = uint64_t(1) << 20;

} // namespace

void TTIFFGraphic::checkLayout() const
{
    const TImageProperties& p = ImageProperties;
    auto unsupported = [](const char* what) { RasterErrorFmt(gesUnsupportedFeature, what, FormatName); };
    if (p.Options & ioTiled)
        unsupported(gesTiledImages);
    // One sample a pixel is the same data in either configuration.
    if (p.PlanarConfig != 1 && p.SamplesPerPixel > 1)
        unsupported(gesSeparatePlanes);
    bool jpeg = p.Compression == ctJPEG || p.Compression == ctOJPEG;
    if (p.ColorScheme == csYCbCr && !jpeg && (p.YCbCrSubSampling[0] != 1 || p.YCbCrSubSampling[1] != 1))
        unsupported(gesSubsampledYCbCr);
    if (p.Compression != ctNone && p.Predictor == 2 && p.BitsPerSample != 8 && p.BitsPerSample != 16)
        unsupported(gesPredictorDepth);

    if (!samplesFit(p.ColorScheme, p.SamplesPerPixel, p.HasAlpha))
        RasterError(gesInvalidPixelDepth);
    bool indexed = p.ColorScheme == csG || p.ColorScheme == csIndexed;
    uint8_t bits = p.BitsPerSample;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        RasterError(gesInvalidSampleDepth);
    // The fax decoders write rows of one bit a pixel, the ThunderScan decoder rows of four:
    // any other layout would be filled with rows of the wrong length.
    const bool fax = p.Compression == ctFax3 || p.Compression == ctFaxRLE || p.Compression == ctFaxRLEW;
    if ((fax && (bits != 1 || p.SamplesPerPixel != 1)) ||
        (p.Compression == ctThunderscan && (bits != 4 || p.SamplesPerPixel != 1)))
        RasterErrorFmt(gesInvalidColorFormat, FormatName);
    // Grey with alpha is shown in 32 bits, from samples of 8 or 16 bits.
    bool greyAlpha = p.ColorScheme == csG && p.SamplesPerPixel == 2;
    if ((!indexed || greyAlpha) && bits < 8)
        RasterErrorFmt(gesInvalidColorFormat, FormatName);
    // 16-bit indices reach 65,536 colours, which no bitmap palette holds: scaled down to 8
    // bits they would pick the wrong ones.
    if (p.ColorScheme == csIndexed && bits == 16)
        RasterErrorFmt(gesInvalidColorFormat, FormatName);
}

void TTIFFGraphic::setUpColorManager()
{
    const TImageProperties& p = ImageProperties;
    TColorManager& cm = *ColorManager;
    cm.SourceOptions = (p.Options & ioBigEndian) ? coNeedByteSwap : 0;
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    // 16-bit samples are shown in 8 bits; 2-bit indices go into a 4-bit bitmap.
    cm.SetTargetBitsPerSample(p.BitsPerSample == 16 ? 8 : p.BitsPerSample == 2 ? 4 : p.BitsPerSample);

    // libjpeg hands colour strips over as red, green, blue (YCbCr turned into RGB), grey ones
    // as grey.
    bool jpegColour = p.Compression == ctJPEG && (p.ColorScheme == csYCbCr || p.ColorScheme == csRGB);
    TColorScheme source = jpegColour ? csRGB : p.ColorScheme;
    TColorScheme target = source;
    switch (source) {
    case csIndexed:
        // The alpha sample of indices is passed over.
        if (p.SamplesPerPixel == 2)
            source = csGA;
        break;
    case csG:
        // Grey with alpha becomes a 32-bit pixel, spread out by the loader.
        if (p.SamplesPerPixel == 2) {
            source = csGA;
            target = csBGRA;
        }
        break;
    case csRGB: target = csBGR; break;
    case csRGBA: target = csBGRA; break;
    case csCMYK:
    case csCIELab:
    case csYCbCr:
    case csPhotoYCC: target = csBGR; break;
    default: break;
    }
    cm.SetSourceColorScheme(source);
    cm.SetTargetColorScheme(target);
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(source == csCMYK ? 3 : target == csBGRA ? 4 : source == csGA ? 1 : p.SamplesPerPixel);
    if (source == csCIELab)
        cm.SourceOptions |= coLabByteRange;
}

void TTIFFGraphic::makePalette(Stream& stream)
{
    const TImageProperties& p = ImageProperties;
    TColorManager& cm = *ColorManager;
    TColorScheme target = cm.TargetColorScheme();
    if (target == csIndexed) {
        uint32_t n;
        uint32_t offset = GetValue(tagColorMap, n, 0);
        if (n < 3)
            RasterErrorFmt(gesInvalidPalette, FormatName);
        // Three planes of n / 3 values each; a bitmap takes the first 256 colours of each.
        const uint64_t plane = n / 3, colours = std::min<uint64_t>(plane, 256);
        const uint64_t start = BasePosition + offset;
        if (start > stream.Size() || 2 * uint64_t(n) > stream.Size() - start)
            RasterErrorFmt(gesInvalidPalette, FormatName);
        uint8_t* planes[3];
        for (uint64_t k = 0; k < 3; ++k) {
            planes[k] = ColorMap.data() + k * 2 * colours;
            stream.SetPosition(start + 2 * k * plane);
            stream.ReadBuffer(planes[k], std::size_t(2 * colours));
        }
        SetPalette(cm.CreateColorPalette({planes[0], planes[1], planes[2]}, pfPlane16Triple, uint32_t(colours), false));
    } else if (target == csG) {
        SetPalette(cm.CreateGrayscalePalette(p.Options & ioMinIsWhite));
    } else if (cm.SourceColorScheme() == csYCbCr) {
        cm.SetYCbCrParameters(YCbCrCoefficients, p.YCbCrSubSampling[0], p.YCbCrSubSampling[1]);
    }
}

// The decoder of each compression the reader loads: a new one is added here. Compressions
// without a case are refused.
std::unique_ptr<TDecoder> TTIFFGraphic::CreateDecoder(Stream& stream)
{
    TImageProperties& p = ImageProperties;
    switch (p.Compression) {
    case ctNone: return nullptr;
    case ctPackedBits: return std::make_unique<TPackbitsRLEDecoder>();
    // Each strip is a zlib stream of its own.
    case ctLZ77: return std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, true);
    // The fax decoders read the bits in the file's fill order themselves.
    case ctFax3:
        return std::make_unique<TCCITTFax3Decoder>(int32_t(GetValue(tagT4Options, 0)), p.Options & ioReversed, false,
                                                   p.Width);
    case ctFaxRLE:
    case ctFaxRLEW:
        return std::make_unique<TCCITTMHDecoder>(int32_t(GetValue(tagT4Options, 0)), p.Options & ioReversed,
                                                 p.Compression == ctFaxRLEW, p.Width);
    case ctJPEG:
        GetValueList(stream, tagJPEGTables, p.JPEGTables);
        return std::make_unique<TTIFFJPEGDecoder>(p);
    case ctThunderscan: return std::make_unique<TThunderDecoder>(p.Width);
    default: RasterErrorFmt(gesUnsupportedFeature, gesCompressionScheme, FormatName);
    }
}

void TTIFFGraphic::undoPredictor(uint8_t* row) const
{
    const TImageProperties& p = ImageProperties;
    const std::size_t samples = p.SamplesPerPixel;
    const std::size_t count = std::size_t(p.Width) * samples;
    if (p.BitsPerSample == 8) {
        // The running sums of RGB and RGBA pixels stay in registers.
        if (samples == 3 || samples == 4) {
            uint8_t a = row[0], b = row[1], c = row[2], d = samples == 4 ? row[3] : 0;
            for (std::size_t i = samples; i < count; i += samples) {
                row[i] = a = uint8_t(a + row[i]);
                row[i + 1] = b = uint8_t(b + row[i + 1]);
                row[i + 2] = c = uint8_t(c + row[i + 2]);
                if (samples == 4)
                    row[i + 3] = d = uint8_t(d + row[i + 3]);
            }
            return;
        }
        for (std::size_t i = samples; i < count; ++i)
            row[i] = uint8_t(row[i] + row[i - samples]);
        return;
    }
    // 16-bit samples are summed as words in the file's byte order.
    if (p.Options & ioBigEndian) {
        for (std::size_t i = samples; i < count; ++i) {
            uint16_t v = uint16_t(LoadU16BE(row + 2 * i) + LoadU16BE(row + 2 * (i - samples)));
            row[2 * i] = uint8_t(v >> 8);
            row[2 * i + 1] = uint8_t(v);
        }
    } else {
        for (std::size_t i = samples; i < count; ++i) {
            uint16_t v = uint16_t(LoadU16LE(row + 2 * i) + LoadU16LE(row + 2 * (i - samples)));
            row[2 * i] = uint8_t(v);
            row[2 * i + 1] = uint8_t(v >> 8);
        }
    }
}

void TTIFFGraphic::spreadGreyAlpha(const uint8_t* row, uint8_t* target) const
{
    // The colour manager takes grey only to grey: each grey and alpha pair is spread here
    // over blue, green, red and alpha, 16-bit samples by their high byte.
    const TImageProperties& p = ImageProperties;
    const std::size_t step = p.BitsPerSample == 16 ? 2 : 1;
    const std::size_t high = step == 2 && !(p.Options & ioBigEndian) ? 1 : 0;
    const uint8_t flip = (p.Options & ioMinIsWhite) ? 0xFF : 0;
    for (std::size_t x = 0; x < p.Width; ++x, row += 2 * step, target += 4) {
        target[0] = target[1] = target[2] = uint8_t(row[high] ^ flip);
        target[3] = row[step + high];
    }
}

void TTIFFGraphic::readStripLists(Stream& stream, bool compressed, std::vector<uint32_t>& offsets,
                                  std::vector<uint32_t>& byteCounts)
{
    const TImageProperties& p = ImageProperties;
    GetValueList(stream, tagStripOffsets, offsets);
    GetValueList(stream, tagStripByteCounts, byteCounts);
    if (offsets.empty() || (compressed && byteCounts.size() < offsets.size()))
        RasterErrorFmt(gesInvalidImage, FormatName);
    // The strips must be able to hold the picture before it is made: raw rows all but the
    // last in full, packed ones at the most their compression can expand to. Each strip
    // counts with what the loader reads of it.
    const uint64_t ratio = maxExpansion(p.Compression);
    const uint64_t picture = uint64_t(p.Height) * p.BytesPerLine;
    const uint64_t needed = compressed ? picture : picture - p.BytesPerLine + 1;
    const uint64_t streamSize = stream.Size();
    uint64_t held = 0;
    for (std::size_t s = 0; s < offsets.size() && held * ratio < needed; ++s) {
        const uint64_t start = BasePosition + offsets[s];
        const uint64_t available = start < streamSize ? streamSize - start : 0;
        held += compressed ? std::min<uint64_t>(byteCounts[s], available) : available;
    }
    if (held * ratio < needed)
        RasterErrorFmt(gesStreamReadError, FormatName);

    // What is held at one time stays within the cap: a decoded strip, and the packed bytes
    // of one (uncompressed strips are read a piece at a time).
    if (compressed) {
        uint64_t rows = 0;
        for (uint32_t r : p.RowsPerStrip)
            rows = std::max<uint64_t>(rows, r == 0 ? p.Height : std::min(r, p.Height));
        BufferBytes({rows, p.BytesPerLine}, p.Width, p.Height, FormatName);
        for (std::size_t s = 0; s < offsets.size(); ++s) {
            const uint64_t start = BasePosition + offsets[s];
            BufferBytes({std::min<uint64_t>(byteCounts[s], start < streamSize ? streamSize - start : 0)}, p.Width,
                        p.Height, FormatName);
        }
    }
}

void TTIFFGraphic::readStrips(Stream& stream, TDecoder* decoder, const std::vector<uint32_t>& offsets,
                              const std::vector<uint32_t>& byteCounts)
{
    TImageProperties& p = ImageProperties;
    static const BitReversal reversal;
    const bool fax = p.Compression == ctFax3 || p.Compression == ctFaxRLE || p.Compression == ctFaxRLEW;
    const bool reversed = (p.Options & ioReversed) && !fax;
    const bool predictor = p.Compression != ctNone && p.Predictor == 2;
    const uint64_t streamSize = stream.Size();
    std::vector<uint8_t> strip, packed;
    TColorManager& cm = *ColorManager;
    const bool greyAlpha = cm.SourceColorScheme() == csGA && cm.TargetColorScheme() == csBGRA;

    p.CurrentRow = 0;
    p.CurrentStrip = 0;
    p.StripCount = uint32_t(offsets.size());
    for (; p.CurrentStrip < p.StripCount && p.CurrentRow < p.Height; ++p.CurrentStrip) {
        const uint32_t s = p.CurrentStrip;
        // A strip never holds more rows than remain; a count of 0 stands for all of them.
        uint32_t rows = p.RowsPerStrip[std::min<std::size_t>(s, p.RowsPerStrip.size() - 1)];
        const uint32_t remaining = p.Height - p.CurrentRow;
        if (rows == 0 || rows > remaining)
            rows = remaining;
        const uint64_t start = BasePosition + offsets[s];
        const uint64_t available = start < streamSize ? streamSize - start : 0;
        stream.SetPosition(std::min(start, streamSize));
        // Rows that hold data; those the file lacks keep the bitmap's zeros. A packed strip
        // is decoded whole; an uncompressed one, which may be the whole picture, is read a
        // piece at a time.
        const uint32_t filled =
            decoder ? rows : uint32_t(std::min<uint64_t>(rows, (available + p.BytesPerLine - 1) / p.BytesPerLine));
        const uint32_t pieceRows = decoder ? rows : std::max<uint32_t>(1, uint32_t(kPieceBytes / p.BytesPerLine));
        for (uint32_t first = 0; first < rows; first += pieceRows) {
            const uint32_t pieceEnd = std::min(rows - first, pieceRows) + first;
            if (decoder) {
                strip.resize(std::size_t(rows) * p.BytesPerLine);
                std::size_t size = std::size_t(std::min<uint64_t>({byteCounts[s], available, uint64_t(INT32_MAX)}));
                packed.resize(size);
                stream.ReadBuffer(packed.data(), size);
                if (reversed)
                    reversal.apply(packed.data(), size);
                const uint8_t* source = packed.data();
                uint8_t* target = strip.data();
                decoder->Decode(source, target, int32_t(size), int32_t(strip.size()));
                // A decoder that moves Dest tells how far it got: what it did not reach is black.
                if (target != strip.data())
                    std::memset(target, 0, std::size_t(strip.data() + strip.size() - target));
                // Deflate data that ends early leaves rows black; damaged data is an error.
                if (auto* lz77 = dynamic_cast<TLZ77Decoder*>(decoder);
                    lz77 && lz77->Status() < 0 && lz77->Status() != Z_BUF_ERROR)
                    CompressionError(gesLZ77Error);
            } else if (first < filled) {
                strip.resize(std::size_t(std::min(pieceEnd, filled) - first) * p.BytesPerLine);
                std::size_t got = stream.Read(strip.data(), strip.size());
                std::memset(strip.data() + got, 0, strip.size() - got);
                if (reversed)
                    reversal.apply(strip.data(), got);
            }

            for (uint32_t r = first; r < pieceEnd; ++r) {
                if (r < filled) {
                    uint8_t* row = strip.data() + std::size_t(r - first) * p.BytesPerLine;
                    if (predictor)
                        undoPredictor(row);
                    if (greyAlpha)
                        spreadGreyAlpha(row, ScanLine(p.CurrentRow));
                    else
                        cm.ConvertRow({row}, {ScanLine(p.CurrentRow), BytesPerRow()}, p.Width, 0xFF);
                }
                ++p.CurrentRow;
                ProgressRow(p.CurrentRow, p.Height);
            }
        }
    }
}

void TTIFFGraphic::LoadFromStream(Stream& stream)
try {
    Clear();
    BasePosition = stream.Position();
    if (!ReadImageProperties(stream, 0))
        RasterErrorFmt(gesInvalidImage, FormatName);
    TImageProperties& p = ImageProperties;
    checkLayout();
    ProgressRect = {0, 0, 0, 1};
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesPreparing);

    setUpColorManager();
    std::unique_ptr<TDecoder> decoder = CreateDecoder(stream);
    // The bitmap and a row of the file's samples within the cap; the strips are checked
    // with their lists.
    const bool indexedAlpha = ColorManager->SourceColorScheme() == csGA && ColorManager->TargetColorScheme() == csIndexed;
    SetPixelFormat(indexedAlpha ? PixelFormat::Bits8 : ColorManager->GetPixelFormat(1));
    ImageBytes(p.Width, p.Height, uint64_t(::BitsPerPixel(GetPixelFormat())), FormatName);
    const uint64_t bitsPerPixel = uint64_t(p.BitsPerSample) * p.SamplesPerPixel;
    p.BytesPerLine = uint32_t(BufferBytes({(bitsPerPixel * p.Width + 7) / 8}, p.Width, p.Height, FormatName));
    makePalette(stream);
    std::vector<uint32_t> offsets, byteCounts;
    readStripLists(stream, decoder != nullptr, offsets, byteCounts);
    SetSize(p.Width, p.Height);
    ProgressRect.right = int32_t(p.Width);

    if (decoder)
        decoder->DecodeInit();
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    Progress(ProgressStage::Starting, 0, false, ProgressRect, gesTransfering);
    readStrips(stream, decoder.get(), offsets, byteCounts);
    Progress(ProgressStage::Ending, 0, false, ProgressRect, "");
    if (decoder)
        decoder->DecodeEnd();
} catch (...) {
    RethrowImageError(FormatName);
}
