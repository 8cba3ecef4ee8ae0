#pragma once
// Photoshop images: the merged (flattened) picture of a .psd or .pdd file, its channels raw
// or PackBits-packed, turned into bitmap rows by the colour manager. Bitmap, grey scale,
// duotone (as grey), indexed, RGB with or without alpha, multichannel (as RGB), CMYK and
// Lab images of 8 and 16 bits (bitmap: 1 bit) are read; layers are skipped.
#include "imaging/RasterGraphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TPSDHeader {
    char Signature[4] = {};
    uint16_t Version = 0;
    uint16_t Channels = 0;
    uint32_t Rows = 0, Columns = 0;
    uint16_t Depth = 0;
    uint16_t Mode = 0;

    static constexpr std::size_t Size = 26;
    static TPSDHeader Parse(const uint8_t (&bytes)[Size]);
};

class TPSDGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // True when more than 26 bytes remain and they start with "8BPS" (any letter case) and
    // version 1; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

private:
    void readPalette(Stream& stream, uint32_t count);
    // Reads the data of the channels loaded: raw planes, or packed rows and where each starts.
    void readChannels(Stream& stream, std::size_t rowBytes, int channels);

    TPSDHeader header_;
    std::unique_ptr<uint8_t[]> data_;   // the channels loaded, raw planes or packed rows
    std::vector<uint64_t> offsets_;      // packed: where each row starts in data_, and the end
};
