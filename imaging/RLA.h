#pragma once
// Alias/Wavefront RLA images: a 740-byte big-endian header, a table of scanline offsets, and
// per scanline one run-length block for each channel (red, green, blue and the matte). Only
// 8-bit RGB with at most one matte channel is loaded; the file's gamma is applied when it
// is not 1.
#include "imaging/RasterGraphics.h"

#include <cstdint>
#include <string>

// The header fields in host order; the text fields end at their first zero byte.
struct TRLAHeader {
    int16_t WindowLeft = 0, WindowRight = 0, WindowBottom = 0, WindowTop = 0;
    int16_t ActiveLeft = 0, ActiveRight = 0, ActiveBottom = 0, ActiveTop = 0;
    int16_t Frame = 0, StorageType = 0;
    int16_t NumChannels = 0, NumMatteChannels = 0, NumAuxChannels = 0;
    uint16_t Revision = 0;
    std::string Gamma;
    uint32_t JobNumber = 0;
    std::string Channel;
    int16_t Field = 0, ChannelBits = 0, MatteType = 0, MatteBits = 0, AuxType = 0, AuxBits = 0;
    uint32_t Next = 0;

    static constexpr std::size_t Size = 740;
    static constexpr uint16_t RevisionMark = 0xFFFE;
};

class TRLAGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // True when more than 740 bytes remain and the header has the revision mark and the
    // channel type "rgb" or "xyz" (any letter case); the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

    // The numeric fields of the stored header, big-endian, in host order.
    static TRLAHeader SwapHeader(const uint8_t (&bytes)[TRLAHeader::Size]);

private:
    void loadScanlines(Stream& stream);

    TRLAHeader header_;
};
