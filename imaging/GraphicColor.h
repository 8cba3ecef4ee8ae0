#pragma once
// The colour manager: turns rows of decoded samples, in whatever scheme, depth and layout a
// file stores, into rows of the target bitmap, and builds the bitmaps' palettes.
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class EColorConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TColorScheme : uint8_t {
    csUnknown, csIndexed, csG, csGA, csRGB, csRGBA, csBGR, csBGRA, csCMY, csCMYK, csCIELab, csYCbCr, csPhotoYCC
};

enum TConvertOption : uint8_t {
    coAlpha = 1 << 0,
    coApplyGamma = 1 << 1,
    coNeedByteSwap = 1 << 2,
    coLabByteRange = 1 << 3,
    coLabChromaOffset = 1 << 4,
};
using TConvertOptions = uint8_t;   // a set of TConvertOption bits

enum TRawPaletteFormat : uint8_t {
    pfInterlaced8Triple, pfInterlaced8Quad, pfPlane8Triple, pfPlane8Quad,
    pfInterlaced16Triple, pfInterlaced16Quad, pfPlane16Triple, pfPlane16Quad
};

uint8_t ClampByte(int32_t value);
// Number * Numerator / Denominator, truncated, in 16 bits.
uint16_t MulDiv16(uint16_t number, uint16_t numerator, uint16_t denominator);

class TColorManager {
public:
    // Source: one pointer for interleaved samples, one per component for planes.
    using TConversionMethod = void (TColorManager::*)(const void* const* source, std::size_t sourceCount,
                                                      void* target, uint32_t count, uint8_t mask);

    TColorManager();

    uint8_t SourceBitsPerSample() const { return sourceBPS_; }
    uint8_t TargetBitsPerSample() const { return targetBPS_; }
    uint8_t SourceSamplesPerPixel() const { return sourceSPP_; }
    uint8_t TargetSamplesPerPixel() const { return targetSPP_; }
    TColorScheme SourceColorScheme() const { return sourceScheme_; }
    TColorScheme TargetColorScheme() const { return targetScheme_; }
    void SetSourceBitsPerSample(uint8_t value);
    void SetTargetBitsPerSample(uint8_t value);
    void SetSourceSamplesPerPixel(uint8_t value);
    void SetTargetSamplesPerPixel(uint8_t value);
    void SetSourceColorScheme(TColorScheme value);
    void SetTargetColorScheme(TColorScheme value);

    // Written directly by the readers; coAlpha is set from the schemes before each conversion.
    TConvertOptions SourceOptions = 0;
    TConvertOptions TargetOptions = 0;

    void SetGamma(float mainGamma, float displayGamma);
    float MainGamma() const { return mainGamma_; }
    float DisplayGamma() const { return displayGamma_; }
    const std::array<uint8_t, 256>& GammaTable() const { return gammaTable_; }

    // Weights that do not all lie strictly between 0 and 1 give the standard ones instead.
    void SetYCbCrParameters(std::span<const float> values, uint8_t hSubSampling, uint8_t vSubSampling);
    void SetYCbCrParameters(std::initializer_list<float> values, uint8_t hSubSampling, uint8_t vSubSampling)
    {
        SetYCbCrParameters(std::span<const float>(values.begin(), values.size()), hSubSampling, vSubSampling);
    }
    const std::array<float, 3>& YCbCrCoefficients() const { return yCbCrCoefficients_; }
    uint8_t HSubSampling() const { return hSubSampling_; }
    uint8_t VSubSampling() const { return vSubSampling_; }

    // Converts Count target pixels; Mask picks which of every eight get data (0xFF: all).
    // A target too small for Count pixels throws std::length_error before anything is
    // written: a wrong stride is a reader's fault, never a write past the row.
    void ConvertRow(const void* const* source, std::size_t sourceCount, std::span<uint8_t> target, uint32_t count,
                    uint8_t mask);
    void ConvertRow(std::initializer_list<const void*> source, std::span<uint8_t> target, uint32_t count, uint8_t mask)
    {
        ConvertRow(source.begin(), source.size(), target, count, mask);
    }

    // The bitmap format that suits the source (index 0) or target (index 1) description.
    PixelFormat GetPixelFormat(int index) const;

    // Data points at the raw palette (three planes for the planar formats).
    Palette CreateColorPalette(std::initializer_list<const void*> data, TRawPaletteFormat dataFormat,
                               uint32_t colorCount, bool orderFlag);
    Palette CreateGrayscalePalette(bool minimumIsWhite);

    void PrepareConversion();
    void CreateYCbCrLookup();
    [[noreturn]] void Error(const std::string& message);
    TConversionMethod RowConversion() const { return rowConversion_; }

    uint8_t ComponentNoConvert8(uint8_t value) { return value; }
    uint16_t ComponentNoConvert16(uint16_t value) { return value; }
    uint8_t ComponentGammaConvert(uint8_t value) { return gammaTable_[value]; }
    uint8_t ComponentScaleConvert(uint16_t value) { return uint8_t(MulDiv16(value, 255, 65535)); }
    uint8_t ComponentScaleGammaConvert(uint16_t value) { return gammaTable_[MulDiv16(value, 255, 65535)]; }
    uint8_t ComponentSwapScaleGammaConvert(uint16_t value) { return gammaTable_[MulDiv16(swap(value), 255, 65535)]; }
    uint8_t ComponentSwapScaleConvert(uint16_t value) { return uint8_t(MulDiv16(swap(value), 255, 65535)); }
    uint16_t ComponentSwapConvert(uint16_t value) { return swap(value); }

    // The row converters; chosen by PrepareConversion, never called by readers.
    void RowConvertBGR2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertBGR2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertRGB2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertRGB2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertCMYK2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertCMYK2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertCIELAB2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertCIELAB2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertYCbCr2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertYCbCr2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertPhotoYCC2BGR(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertPhotoYCC2RGB(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertGray(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertIndexed8(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertIndexedSource16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertIndexedTarget16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);
    void RowConvertIndexedBoth16(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask);

private:
    static uint16_t swap(uint16_t v) { return uint16_t((v >> 8) | (v << 8)); }
    void rgbFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool exchange);
    void cmykFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr);
    void labFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr);
    void yccFamily(const void* const* s, std::size_t n, void* t, uint32_t count, uint8_t mask, bool bgr);

    bool changed_ = true;
    uint8_t sourceBPS_ = 8, targetBPS_ = 8;
    uint8_t sourceSPP_ = 3, targetSPP_ = 3;
    float mainGamma_ = 1.0f, displayGamma_ = 2.2f;
    std::array<uint8_t, 256> gammaTable_{};
    std::array<float, 3> yCbCrCoefficients_{0.299f, 0.587f, 0.114f};
    uint8_t hSubSampling_ = 1, vSubSampling_ = 1;
    std::vector<int32_t> crToRed_, cbToBlue_, crToGreen_, cbToGreen_;
    TColorScheme sourceScheme_ = csRGB, targetScheme_ = csBGR;
    TConversionMethod rowConversion_ = nullptr;
};
