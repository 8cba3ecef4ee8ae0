#include "imaging/GraphicColor.h"

#include "imaging/GraphicStrings.h"

#include <algorithm>
#include <cmath>
#include <limits>

uint8_t ClampByte(int32_t value)
{
    return value < 0 ? 0 : value > 255 ? 255 : uint8_t(value);
}

uint16_t MulDiv16(uint16_t number, uint16_t numerator, uint16_t denominator)
{
    if (denominator == 0)
        return 0xFFFF;
    return uint16_t(uint32_t(number) * numerator / denominator);
}

// Nearest integer, ties to even, kept inside the 32-bit range.
static int32_t nint(double x)
{
    if (std::isnan(x))
        return 0;
    x = std::nearbyint(x);
    if (x > double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (x < double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(x);
}

TColorManager::TColorManager()
{
    SetGamma(1.0f, 2.2f);
    changed_ = true;
}

void TColorManager::Error(const std::string& message)
{
    throw EColorConversionError(message);
}

void TColorManager::SetSourceBitsPerSample(uint8_t value)
{
    if (value < 1 || value > 16)
        Error(gesInvalidSampleDepth);
    if (value != sourceBPS_) {
        sourceBPS_ = value;
        changed_ = true;
    }
}

void TColorManager::SetTargetBitsPerSample(uint8_t value)
{
    if (value < 1 || value > 16)
        Error(gesInvalidSampleDepth);
    if (value != targetBPS_) {
        targetBPS_ = value;
        changed_ = true;
    }
}

void TColorManager::SetSourceSamplesPerPixel(uint8_t value)
{
    if (value < 1 || value > 4)
        Error(gesInvalidPixelDepth);
    if (value != sourceSPP_) {
        sourceSPP_ = value;
        changed_ = true;
    }
}

void TColorManager::SetTargetSamplesPerPixel(uint8_t value)
{
    if (value < 1 || value > 4)
        Error(gesInvalidPixelDepth);
    if (value != targetSPP_) {
        targetSPP_ = value;
        changed_ = true;
    }
}

void TColorManager::SetSourceColorScheme(TColorScheme value)
{
    if (value != sourceScheme_) {
        sourceScheme_ = value;
        changed_ = true;
    }
}

void TColorManager::SetTargetColorScheme(TColorScheme value)
{
    if (value != targetScheme_) {
        targetScheme_ = value;
        changed_ = true;
    }
}

void TColorManager::SetGamma(float mainGamma, float displayGamma)
{
    if (!(mainGamma > 0))
        mainGamma = 1.0f;
    if (!(displayGamma > 0))
        displayGamma = 2.2f;
    mainGamma_ = mainGamma;
    displayGamma_ = displayGamma;
    double exponent = 1.0 / (double(mainGamma) * double(displayGamma));
    // The source bound follows the target depth below 8 bits, as the tables always have,
    // but never reaches past the table's 256 entries (a deep target would).
    int sourceBound = sourceBPS_ >= 8 ? 255 : std::min((1 << targetBPS_) - 1, 255);
    int targetBound = targetBPS_ >= 8 ? 255 : (1 << targetBPS_) - 1;
    for (int i = 0; i <= sourceBound; ++i)
        gammaTable_[i] = uint8_t(std::clamp(nint(std::pow(double(i) / sourceBound, exponent) * targetBound), 0, 255));
}

void TColorManager::SetYCbCrParameters(std::span<const float> values, uint8_t hSubSampling, uint8_t vSubSampling)
{
    std::array<float, 3> weights = yCbCrCoefficients_;
    for (std::size_t i = 0; i < values.size() && i < 3; ++i)
        weights[i] = values[i];
    // A weight of 0 (green divides the tables' factors) or beyond 1 makes no colours.
    bool usable = std::all_of(weights.begin(), weights.end(), [](float w) { return w > 0 && w < 1; });
    yCbCrCoefficients_ = usable ? weights : std::array<float, 3>{0.299f, 0.587f, 0.114f};
    auto valid = [](uint8_t s) { return s == 1 || s == 2 || s == 4; };
    if (!valid(hSubSampling) || !valid(vSubSampling))
        Error(gesInvalidSubSampling);
    if (hSubSampling < vSubSampling)
        Error(gesVerticalSubSamplingError);
    hSubSampling_ = hSubSampling;
    vSubSampling_ = vSubSampling;
}

void TColorManager::CreateYCbCrLookup()
{
    float kr = yCbCrCoefficients_[0], kg = yCbCrCoefficients_[1], kb = yCbCrCoefficients_[2];
    float f1 = 2 - 2 * kr;
    float f2 = kr * f1 / kg;
    float f3 = 2 - 2 * kb;
    float f4 = kb * f3 / kg;
    crToRed_.assign(256, 0);
    cbToBlue_.assign(256, 0);
    crToGreen_.assign(256, 0);
    cbToGreen_.assign(256, 0);
    int crCentre = sourceScheme_ == csYCbCr ? 128 : 137;
    int cbCentre = sourceScheme_ == csYCbCr ? 128 : 156;
    for (int i = 0; i < 256; ++i) {
        float c = float(i - crCentre), b = float(i - cbCentre);
        crToRed_[i] = nint(f1 * c);
        cbToBlue_[i] = nint(f3 * b);
        crToGreen_[i] = -nint(f2 * c);
        cbToGreen_[i] = -nint(f4 * b);
    }
}

void TColorManager::PrepareConversion()
{
    rowConversion_ = nullptr;
    bool sourceIndexed = sourceScheme_ == csIndexed || sourceScheme_ == csG || sourceScheme_ == csGA;
    bool targetIndexed = targetScheme_ == csIndexed || targetScheme_ == csG;
    if (sourceIndexed != targetIndexed)
        Error(gesIndexedNotSupported);

    auto hasAlpha = [](TColorScheme s) { return s == csGA || s == csRGBA || s == csBGRA; };
    SourceOptions = TConvertOptions(hasAlpha(sourceScheme_) ? SourceOptions | coAlpha : SourceOptions & ~coAlpha);
    TargetOptions = TConvertOptions(hasAlpha(targetScheme_) ? TargetOptions | coAlpha : TargetOptions & ~coAlpha);

    bool toRGB = targetScheme_ == csRGB || targetScheme_ == csRGBA;
    bool toBGR = targetScheme_ == csBGR || targetScheme_ == csBGRA;
    auto pick = [&](TConversionMethod rgb, TConversionMethod bgr) {
        rowConversion_ = toRGB ? rgb : toBGR ? bgr : nullptr;
    };
    switch (sourceScheme_) {
    case csIndexed:
        if (sourceBPS_ == 16 && targetBPS_ == 16)
            rowConversion_ = &TColorManager::RowConvertIndexedBoth16;
        else if (sourceBPS_ == 16)
            rowConversion_ = &TColorManager::RowConvertIndexedSource16;
        else if (targetBPS_ == 16)
            rowConversion_ = &TColorManager::RowConvertIndexedTarget16;
        else
            rowConversion_ = &TColorManager::RowConvertIndexed8;
        break;
    case csG:
        if (sourceBPS_ == 16 || targetBPS_ == 16) {
            if (sourceBPS_ >= 8 && targetBPS_ >= 8)
                rowConversion_ = &TColorManager::RowConvertGray;
        } else {
            rowConversion_ = &TColorManager::RowConvertIndexed8;
        }
        break;
    case csGA:
        if ((sourceBPS_ == 8 || sourceBPS_ == 16) && (targetBPS_ == 8 || targetBPS_ == 16))
            rowConversion_ = &TColorManager::RowConvertGray;
        break;
    case csRGB:
    case csRGBA: pick(&TColorManager::RowConvertRGB2RGB, &TColorManager::RowConvertRGB2BGR); break;
    case csBGR:
    case csBGRA: pick(&TColorManager::RowConvertBGR2RGB, &TColorManager::RowConvertBGR2BGR); break;
    case csCMYK: pick(&TColorManager::RowConvertCMYK2RGB, &TColorManager::RowConvertCMYK2BGR); break;
    case csCIELab: pick(&TColorManager::RowConvertCIELAB2RGB, &TColorManager::RowConvertCIELAB2BGR); break;
    case csYCbCr:
        CreateYCbCrLookup();
        pick(&TColorManager::RowConvertYCbCr2RGB, &TColorManager::RowConvertYCbCr2BGR);
        break;
    case csPhotoYCC:
        CreateYCbCrLookup();
        pick(&TColorManager::RowConvertPhotoYCC2RGB, &TColorManager::RowConvertPhotoYCC2BGR);
        break;
    default: break;
    }
    changed_ = false;
}

void TColorManager::ConvertRow(const void* const* source, std::size_t sourceCount, std::span<uint8_t> target,
                               uint32_t count, uint8_t mask)
{
    if (changed_)
        PrepareConversion();
    if (!rowConversion_)
        Error(gesConversionUnsupported);
    // The converters walk every one of the Count target pixels: one sample each into an
    // indexed or grey target, three or four into a colour one. Packed targets hold 8 div
    // bits fields a byte, so 3-bit ones take two a byte and 5- to 7-bit ones one.
    bool oneSample = targetScheme_ == csIndexed || targetScheme_ == csG;
    uint64_t samples = oneSample ? 1 : (TargetOptions & coAlpha) ? 4 : 3;
    uint64_t needed = (uint64_t(count) * samples * targetBPS_ + 7) / 8;
    if (oneSample && targetBPS_ < 8) {
        const uint64_t perByte = 8 / targetBPS_;
        needed = (count + perByte - 1) / perByte;
    }
    if (target.size() < needed)
        throw std::length_error("Row conversion: the target row holds " + std::to_string(target.size()) +
                                " bytes, " + std::to_string(needed) + " are needed");
    (this->*rowConversion_)(source, sourceCount, target.data(), count, mask);
}

PixelFormat TColorManager::GetPixelFormat(int index) const
{
    int samples = index == 0 ? sourceSPP_ : targetSPP_;
    int bits = index == 0 ? sourceBPS_ : targetBPS_;
    switch (samples) {
    case 1:
        if (bits == 1)
            return PixelFormat::Bits1;
        if (bits >= 2 && bits <= 4)
            return PixelFormat::Bits4;
        if (bits >= 8 && bits <= 16)
            return PixelFormat::Bits8;
        return PixelFormat::Custom;
    case 3: return bits >= 1 && bits <= 5 ? PixelFormat::Bits15 : PixelFormat::Bits24;
    case 4: return bits >= 8 ? PixelFormat::Bits32 : PixelFormat::Custom;
    default: return PixelFormat::Custom;
    }
}

Palette TColorManager::CreateColorPalette(std::initializer_list<const void*> data, TRawPaletteFormat dataFormat,
                                          uint32_t colorCount, bool orderFlag)
{
    LogicalPalette logical;
    std::vector<PaletteEntry> entries(256);
    uint32_t count = std::min<uint32_t>(colorCount, 256);
    bool gamma = TargetOptions & coApplyGamma;
    bool swapped = SourceOptions & coNeedByteSwap;
    auto c8 = gamma ? &TColorManager::ComponentGammaConvert : &TColorManager::ComponentNoConvert8;
    auto c16 = gamma ? (swapped ? &TColorManager::ComponentSwapScaleGammaConvert : &TColorManager::ComponentScaleGammaConvert)
                     : (swapped ? &TColorManager::ComponentSwapScaleConvert : &TColorManager::ComponentScaleConvert);
    auto word = [](const uint8_t* p, std::size_t i) { return uint16_t(p[2 * i] | (p[2 * i + 1] << 8)); };
    const void* const* d = data.begin();
    std::size_t planes = data.size();

    switch (dataFormat) {
    case pfInterlaced8Triple:
    case pfInterlaced8Quad: {
        if (planes < 1 || !d[0])
            break;
        auto* p = static_cast<const uint8_t*>(d[0]);
        std::size_t step = dataFormat == pfInterlaced8Triple ? 3 : 4;
        for (uint32_t i = 0; i < count; ++i, p += step) {
            uint8_t a = (this->*c8)(p[0]), b = (this->*c8)(p[1]), c = (this->*c8)(p[2]);
            if (orderFlag)
                entries[i].blue = a, entries[i].green = b, entries[i].red = c;
            else
                entries[i].red = a, entries[i].green = b, entries[i].blue = c;
        }
        break;
    }
    case pfInterlaced16Triple:
    case pfInterlaced16Quad: {
        if (planes < 1 || !d[0])
            break;
        auto* p = static_cast<const uint8_t*>(d[0]);
        std::size_t step = dataFormat == pfInterlaced16Triple ? 3 : 4;
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t a = (this->*c16)(word(p, i * step)), b = (this->*c16)(word(p, i * step + 1)),
                    c = (this->*c16)(word(p, i * step + 2));
            // The 16-bit forms read the order flag the other way round.
            if (orderFlag)
                entries[i].red = a, entries[i].green = b, entries[i].blue = c;
            else
                entries[i].blue = a, entries[i].green = b, entries[i].red = c;
        }
        break;
    }
    case pfPlane8Triple:
    case pfPlane8Quad: {
        if (planes < 3 || !d[0] || !d[1] || !d[2])
            break;
        auto *r = static_cast<const uint8_t*>(d[0]), *g = static_cast<const uint8_t*>(d[1]),
             *b = static_cast<const uint8_t*>(d[2]);
        for (uint32_t i = 0; i < count; ++i)
            entries[i] = {(this->*c8)(r[i]), (this->*c8)(g[i]), (this->*c8)(b[i]), 0};
        break;
    }
    case pfPlane16Triple:
    case pfPlane16Quad: {
        if (planes < 3 || !d[0] || !d[1] || !d[2])
            break;
        auto *r = static_cast<const uint8_t*>(d[0]), *g = static_cast<const uint8_t*>(d[1]),
             *b = static_cast<const uint8_t*>(d[2]);
        for (uint32_t i = 0; i < count; ++i)
            entries[i] = {(this->*c16)(word(r, i)), (this->*c16)(word(g, i)), (this->*c16)(word(b, i)), 0};
        break;
    }
    }

    // Palettes of another depth than the target's are spread or squeezed to the target's.
    uint32_t sourceMax = (1u << sourceBPS_) - 1, targetMax = (1u << targetBPS_) - 1;
    if (targetBPS_ <= 8 && sourceMax != targetMax) {
        auto copyFrom = [&](uint32_t i) {
            uint32_t from = MulDiv16(uint16_t(i), uint16_t(sourceMax), uint16_t(targetMax));
            if (from < entries.size()) {
                entries[i].red = entries[from].red;
                entries[i].green = entries[from].green;
                entries[i].blue = entries[from].blue;
            }
        };
        if (sourceMax < targetMax)
            for (uint32_t i = targetMax + 1; i-- > 0;)
                copyFrom(i);
        else
            for (uint32_t i = 0; i <= targetMax; ++i)
                copyFrom(i);
        count = targetMax + 1;
    }
    entries.resize(count);
    logical.entries = std::move(entries);
    return Palette::Create(logical);
}

Palette TColorManager::CreateGrayscalePalette(bool minimumIsWhite)
{
    int bits = targetBPS_ * targetSPP_;
    int n = bits <= 8 ? 1 << bits : 256;
    int step = 255 / (n - 1);
    LogicalPalette logical;
    logical.entries.resize(n);
    for (int i = 0; i < n; ++i) {
        uint8_t v = uint8_t(i * step);
        if (TargetOptions & coApplyGamma)
            v = gammaTable_[v];
        logical.entries[minimumIsWhite ? n - 1 - i : i] = {v, v, v, 0};
    }
    return Palette::Create(logical);
}
