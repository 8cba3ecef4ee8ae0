#pragma once
// Portable Network Graphics: the chunk chain with every chunk read checked by its CRC, image
// data inflated through the deflate decoder, the five row filters undone, Adam7 interlacing,
// and the palette, gamma, background colour and transparent colour taken into account.
#include "imaging/RasterGraphics.h"

#include <cstdint>
#include <memory>
#include <vector>

class TLZ77Decoder;

// The image header chunk (IHDR), numbers in host order.
struct PNGHeader {
    uint32_t Width = 0, Height = 0;
    uint8_t BitDepth = 0, ColorType = 0, Compression = 0, Filter = 0, Interlace = 0;
};

// The Paeth predictor of the PNG standard: of A (left), B (above) and C (above left), the
// one nearest to A + B - C, preferring A, then B.
uint8_t PaethPredictor(uint8_t A, uint8_t B, uint8_t C);

class TPNGGraphic : public TRasterGraphic {
public:
    TPNGGraphic();
    ~TPNGGraphic() override;

    static const GraphicClass& Class();
    // True when more than 8 bytes remain and they start with the PNG signature; the stream
    // is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

    // Undoes one row filter: Line holds BytesPerRow filtered bytes (without the filter
    // byte), PrevLine the reconstructed row above (zeros for the first), BPP is the filter
    // distance. Target may be Line itself. Unknown filters copy the row as it is.
    static void ApplyFilter(uint8_t Filter, const uint8_t* Line, const uint8_t* PrevLine, uint8_t* Target,
                            uint32_t BPP, std::size_t BytesPerRow);

private:
    bool IsChunk(const char (&ChunkType)[5]) const;
    uint32_t LoadAndSwapHeader();
    void ReadDataAndCheckCRC();
    void SkipChunk();
    bool ReadRow(uint8_t* RowBuffer, std::size_t BytesPerRow);
    uint32_t SetupColorDepth(uint8_t ColorType, uint8_t BitDepth);
    void LoadIDAT(const PNGHeader& Description);
    void LoadBackgroundColor(const PNGHeader& Description);
    void LoadTransparency(const PNGHeader& Description);
    // An 8-bit grey level from a stored sample of the image's depth.
    uint8_t GreyLevel(uint16_t value, uint8_t bitDepth) const;
    // A colour from 8-bit components, through the gamma table when gamma applies.
    uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) const;

    struct ChunkHeader {
        uint32_t Length = 0;
        uint8_t Type[4] = {};
    };

    ChunkHeader FHeader;
    uint32_t FCRC = 0;                  // running CRC of the current chunk
    std::vector<uint8_t> FRawBuffer;    // the data of the last chunk read
    const uint8_t* FCurrentSource = nullptr;
    uint32_t FIDATSize = 0;             // bytes of the current IDAT not yet inflated
    std::unique_ptr<TLZ77Decoder> FDecoder;
    uint32_t FSourceBPP = 1;
    uint32_t FBackgroundColor = 0xFFFFFF;
    uint32_t FTransparentColor = 0x1FFFFFFF;   // none
};
