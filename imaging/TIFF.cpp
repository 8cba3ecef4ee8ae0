// The TIFF reader's header and directory: the probe, the entries and their values, and the
// image properties they give. Loading the pixels is in TIFFLoad.cpp.
#include "imaging/TIFF.h"

#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;
constexpr uint32_t kVersion = 42;

enum DataType : uint16_t { dtByte = 1, dtASCII, dtShort, dtLong, dtRational, dtSByte, dtUndefined, dtSShort, dtSLong };

// Bytes of one value of a type; 0 for the types past SLONG, which are not read.
uint32_t valueSize(uint16_t type)
{
    static const uint8_t sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4};
    return type < std::size(sizes) ? sizes[type] : 0;
}

uint16_t swap16(uint16_t v) { return uint16_t(v >> 8 | v << 8); }
uint32_t swap32(uint32_t v) { return uint32_t(swap16(uint16_t(v))) << 16 | swap16(uint16_t(v >> 16)); }

// Value i of a type from bytes in the file's order; NaN for a rational with denominator 0.
double valueAt(const uint8_t* p, uint16_t type, bool bigEndian, std::size_t i)
{
    auto u16 = [&](const uint8_t* q) { return bigEndian ? LoadU16BE(q) : LoadU16LE(q); };
    auto u32 = [&](const uint8_t* q) { return bigEndian ? LoadU32BE(q) : LoadU32LE(q); };
    p += i * valueSize(type);
    switch (type) {
    case dtShort: return u16(p);
    case dtSShort: return int16_t(u16(p));
    case dtLong: return u32(p);
    case dtSLong: return int32_t(u32(p));
    case dtSByte: return int8_t(*p);
    case dtRational: {
        uint32_t denominator = u32(p + 4);
        return denominator ? double(u32(p)) / denominator : std::numeric_limits<double>::quiet_NaN();
    }
    default: return *p;
    }
}

TCompressionType compressionOf(uint32_t value)
{
    static const struct {
        uint32_t value;
        TCompressionType type;
    } table[] = {
        {1, ctNone},           {2, ctFaxRLE},        {3, ctFax3},         {4, ctFax4},         {5, ctLZW},
        {6, ctOJPEG},          {7, ctJPEG},          {8, ctLZ77},         {32766, ctNext},     {32771, ctFaxRLEW},
        {32773, ctPackedBits}, {32809, ctThunderscan}, {32895, ctIT8CTPAD}, {32896, ctIT8LW},  {32897, ctIT8MP},
        {32898, ctIT8BL},      {32908, ctPixarFilm}, {32909, ctPixarLog}, {32946, ctLZ77},     {32947, ctDCS},
        {34661, ctJBIG},
    };
    for (const auto& row : table)
        if (row.value == value)
            return row.type;
    return ctUnknown;
}

TColorScheme schemeOf(uint32_t photometric, uint32_t samplesPerPixel)
{
    switch (photometric) {
    case 0:
    case 1: return csG;
    case 2: return samplesPerPixel < 4 ? csRGB : csRGBA;
    case 3: return csIndexed;
    case 5: return csCMYK;
    case 6: return csYCbCr;
    case 8: return csCIELab;
    default: return csUnknown;
    }
}

std::unique_ptr<Bitmap> create() { return std::make_unique<TTIFFGraphic>(); }

} // namespace

const GraphicClass& TTIFFGraphic::Class()
{
    static const GraphicClass cls{"TTIFFGraphic", &create, &TTIFFGraphic::CanLoad, true};
    return cls;
}

bool TTIFFGraphic::CanLoad(Stream& stream)
{
    uint8_t h[kHeaderSize];
    if (!PeekHeader(stream, h, sizeof h))
        return false;
    bool mm = h[0] == 'M' && h[1] == 'M';
    if (!mm && !(h[0] == 'I' && h[1] == 'I'))
        return false;
    uint32_t version = mm ? LoadU16BE(h + 2) : LoadU16LE(h + 2);
    uint32_t firstIFD = mm ? LoadU32BE(h + 4) : LoadU32LE(h + 4);
    return version == kVersion && firstIFD < stream.Remaining();
}

void TTIFFGraphic::SaveToStream(Stream&)
{
    // Writing TIFF is not offered; saving nothing would empty the file saved over.
    RasterErrorFmt(gesCannotSave, FormatName);
}

bool TTIFFGraphic::FindTag(uint32_t Tag, std::size_t& Index) const
{
    auto at = std::lower_bound(IFD.begin(), IFD.end(), Tag, [](const TIFDEntry& e, uint32_t t) { return e.Tag < t; });
    Index = std::size_t(at - IFD.begin());
    return at != IFD.end() && at->Tag == Tag;
}

uint32_t TTIFFGraphic::GetValue(uint32_t Tag, uint32_t Default) const
{
    uint32_t size;
    return GetValue(Tag, size, Default);
}

uint32_t TTIFFGraphic::GetValue(uint32_t Tag, uint32_t& Size, uint32_t Default) const
{
    std::size_t index;
    Size = 0;
    if (!FindTag(Tag, index))
        return Default;
    const TIFDEntry& e = IFD[index];
    Size = e.DataLength;
    if (e.DataLength > 1)
        return e.Offset;
    if (e.DataLength == 0)
        return Default;
    switch (e.DataType) {
    case dtByte: return e.Offset & 0xFF;
    case dtShort:
    case dtSShort: return e.Offset & 0xFFFF;
    case dtLong:
    case dtSLong: return e.Offset;
    default: return Default;
    }
}

bool TTIFFGraphic::valueBytes(Stream& stream, uint32_t tag, const TIFDEntry*& entry, std::vector<uint8_t>& bytes) const
{
    std::size_t index;
    if (!FindTag(tag, index))
        return false;
    entry = &IFD[index];
    uint64_t total = uint64_t(entry->DataLength) * valueSize(entry->DataType);
    if (total == 0)
        return false;
    if (total <= 4) {
        bytes.assign(entry->Inline.begin(), entry->Inline.begin() + total);
        return true;
    }
    // Whatever a damaged entry claims, nothing is allocated for values the stream lacks.
    uint64_t start = BasePosition + entry->Offset;
    if (start > stream.Size() || total > stream.Size() - start)
        RasterErrorFmt(gesInvalidImage, FormatName);
    bytes.resize(std::size_t(total));
    stream.SetPosition(start);
    stream.ReadBuffer(bytes.data(), bytes.size());
    return true;
}

float TTIFFGraphic::GetValue(Stream& stream, uint32_t Tag, float Default) const
{
    std::size_t index;
    if (!FindTag(Tag, index) || IFD[index].DataLength != 1)
        return Default;
    const TIFDEntry& e = IFD[index];
    switch (e.DataType) {
    case dtByte:
    case dtShort:
    case dtLong: return float(GetValue(Tag, 0));
    case dtRational: {
        uint64_t start = BasePosition + e.Offset;
        if (start > stream.Size() || stream.Size() - start < 8)
            return Default;
        uint8_t bytes[8];
        stream.SetPosition(start);
        stream.ReadBuffer(bytes, sizeof bytes);
        double value = valueAt(bytes, dtRational, ImageProperties.Options & ioBigEndian, 0);
        return std::isnan(value) ? Default : float(value);
    }
    default: return Default;
    }
}

void TTIFFGraphic::GetValueList(Stream& stream, uint32_t Tag, std::vector<uint8_t>& Values) const
{
    const TIFDEntry* e;
    std::vector<uint8_t> bytes;
    Values.clear();
    if (!valueBytes(stream, Tag, e, bytes))
        return;
    if (valueSize(e->DataType) == 1) {
        Values = std::move(bytes);
        return;
    }
    bool bigEndian = ImageProperties.Options & ioBigEndian;
    Values.resize(e->DataLength);
    for (std::size_t i = 0; i < Values.size(); ++i) {
        double v = valueAt(bytes.data(), e->DataType, bigEndian, i);
        Values[i] = std::isnan(v) ? 0 : uint8_t(int64_t(v));
    }
}

void TTIFFGraphic::GetValueList(Stream& stream, uint32_t Tag, std::vector<uint32_t>& Values) const
{
    const TIFDEntry* e;
    std::vector<uint8_t> bytes;
    Values.clear();
    if (!valueBytes(stream, Tag, e, bytes))
        return;
    bool bigEndian = ImageProperties.Options & ioBigEndian;
    Values.resize(e->DataLength);
    const uint8_t* p = bytes.data();
    // The lists that matter for speed (strip offsets and byte counts) are LONG or SHORT.
    if (e->DataType == dtLong) {
        for (std::size_t i = 0; i < Values.size(); ++i, p += 4)
            Values[i] = bigEndian ? LoadU32BE(p) : LoadU32LE(p);
        return;
    }
    for (std::size_t i = 0; i < Values.size(); ++i) {
        double v = valueAt(p, e->DataType, bigEndian, i);
        Values[i] = std::isnan(v) ? 0 : uint32_t(int64_t(v));
    }
}

void TTIFFGraphic::GetValueList(Stream& stream, uint32_t Tag, std::vector<float>& Values) const
{
    const TIFDEntry* e;
    std::vector<uint8_t> bytes;
    Values.clear();
    if (!valueBytes(stream, Tag, e, bytes))
        return;
    bool bigEndian = ImageProperties.Options & ioBigEndian;
    Values.resize(e->DataLength);
    for (std::size_t i = 0; i < Values.size(); ++i) {
        double v = valueAt(bytes.data(), e->DataType, bigEndian, i);
        if (std::isnan(v)) {
            Values.clear();
            return;
        }
        Values[i] = float(v);
    }
}

void TTIFFGraphic::SortIFD()
{
    std::sort(IFD.begin(), IFD.end(), [](const TIFDEntry& a, const TIFDEntry& b) { return a.Tag < b.Tag; });
}

void TTIFFGraphic::SwapIFD()
{
    for (TIFDEntry& e : IFD) {
        e.Tag = swap16(e.Tag);
        e.DataType = swap16(e.DataType);
        e.DataLength = swap32(e.DataLength);
        if (e.DataLength == 1 && (e.DataType == dtShort || e.DataType == dtSShort))
            e.Offset = swap16(uint16_t(e.Offset));
        else if (uint64_t(e.DataLength) * valueSize(e.DataType) >= 4)
            e.Offset = swap32(e.Offset);
    }
}

uint32_t TTIFFGraphic::ReadIFD(Stream& stream, uint32_t Offset)
{
    bool mm = ImageProperties.Options & ioBigEndian;
    stream.SetPosition(BasePosition + Offset);
    uint16_t count = mm ? stream.U16BE() : stream.U16LE();
    std::vector<uint8_t> bytes(std::size_t(count) * kEntrySize + 4);
    stream.ReadBuffer(bytes.data(), bytes.size() - 4);
    // The last directory may end the stream without its next-directory offset.
    std::size_t tail = stream.Read(bytes.data() + bytes.size() - 4, 4);
    IFD.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t* b = bytes.data() + i * kEntrySize;
        TIFDEntry& e = IFD[i];
        e.Tag = LoadU16LE(b);
        e.DataType = LoadU16LE(b + 2);
        e.DataLength = LoadU32LE(b + 4);
        e.Offset = LoadU32LE(b + 8);
        std::copy(b + 8, b + 12, e.Inline.begin());
    }
    if (mm)
        SwapIFD();
    SortIFD();
    const uint8_t* next = bytes.data() + bytes.size() - 4;
    return tail < 4 ? 0 : mm ? LoadU32BE(next) : LoadU32LE(next);
}

bool TTIFFGraphic::ReadImageProperties(Stream& stream, uint32_t imageIndex)
{
    TRasterGraphic::ReadImageProperties(stream, imageIndex);
    IFD.clear();
    TImageProperties& p = ImageProperties;
    stream.SetPosition(BasePosition);
    uint8_t h[kHeaderSize];
    stream.ReadBuffer(h, sizeof h);
    bool mm = h[0] == 'M' && h[1] == 'M';
    if (!mm && !(h[0] == 'I' && h[1] == 'I'))
        return false;
    if (mm)
        p.Options |= ioBigEndian;
    p.Version = mm ? LoadU16BE(h + 2) : LoadU16LE(h + 2);
    p.FirstIFD = mm ? LoadU32BE(h + 4) : LoadU32LE(h + 4);
    if (p.Version != kVersion)
        return false;

    uint32_t offset = p.FirstIFD;
    for (; imageIndex > 0; --imageIndex) {
        stream.SetPosition(BasePosition + offset);
        uint16_t count = mm ? stream.U16BE() : stream.U16LE();
        stream.Skip(uint64_t(count) * kEntrySize);
        offset = mm ? stream.U32BE() : stream.U32LE();
        if (offset == 0)
            return false;
    }
    ReadIFD(stream, offset);

    p.Width = GetValue(tagImageWidth, 0);
    p.Height = GetValue(tagImageLength, 0);
    if (p.Width == 0 || p.Height == 0)
        return false;
    GetValueList(stream, tagRowsPerStrip, p.RowsPerStrip);
    if (p.RowsPerStrip.empty() || p.RowsPerStrip[0] == 0xFFFFFFFF)
        p.RowsPerStrip = {p.Height};

    // Counts beyond a byte would wrap round to a different layout; such a file is not usable.
    uint32_t samples = GetValue(tagSamplesPerPixel, 1);
    std::vector<uint32_t> bits;
    GetValueList(stream, tagBitsPerSample, bits);
    uint32_t bitsPerSample = bits.empty() ? 1 : bits[0];
    if (samples == 0 || samples > 255 || bitsPerSample == 0 || bitsPerSample > 255)
        return false;
    p.SamplesPerPixel = uint8_t(samples);
    p.BitsPerSample = uint8_t(bitsPerSample);

    p.TileWidth = GetValue(tagTileWidth, 0);
    p.TileLength = GetValue(tagTileLength, 0);
    if (p.TileWidth > 0 && p.TileLength > 0)
        p.Options |= ioTiled;

    std::vector<uint32_t> extra;
    GetValueList(stream, tagExtraSamples, extra);
    p.HasAlpha = !extra.empty() && std::all_of(extra.begin(), extra.end(), [](uint32_t v) { return v <= 2; });

    p.BitsPerPixel = uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    // TIFF's own default: uncompressed.
    p.Compression = compressionOf(GetValue(tagCompression, 1));

    uint32_t photometric = GetValue(tagPhotometricInterpretation, 0);
    p.ColorScheme = schemeOf(photometric, p.SamplesPerPixel);
    if (photometric == 0)
        p.Options |= ioMinIsWhite;
    if (p.ColorScheme == csYCbCr) {
        GetValueList(stream, tagYCbCrSubSampling, p.YCbCrSubSampling);
        if (p.YCbCrSubSampling.size() < 2)
            p.YCbCrSubSampling = {2, 2};
        YCbCrPositioning = GetValue(tagYCbCrPositioning, 1);
        GetValueList(stream, tagYCbCrCoefficients, YCbCrCoefficients);
        if (YCbCrCoefficients.empty())
            YCbCrCoefficients = {0.299f, 0.587f, 0.114f};
    }

    // The JPEG colour and tables modes sit under numbers (65538, 65539) that no 16-bit tag
    // has, so they always take their defaults.
    p.JPEGColorMode = 0;
    p.JPEGTablesMode = 3;
    // TIFF's own default: samples side by side.
    p.PlanarConfig = GetValue(tagPlanarConfiguration, 1);

    p.XResolution = GetValue(stream, tagXResolution, 0.0f);
    p.YResolution = GetValue(stream, tagYResolution, 0.0f);
    if (GetValue(tagResolutionUnit, 2) == 3) {
        p.XResolution *= 2.54f;
        p.YResolution *= 2.54f;
    }
    p.Predictor = GetValue(tagPredictor, 0);
    if (GetValue(tagFillOrder, 1) == 2)
        p.Options |= ioReversed;
    return true;
}
