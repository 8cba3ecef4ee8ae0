#pragma once
// Paint Shop Pro images of file version 3 and later: a chain of blocks, of which the general
// image attributes, a palette block and the first raster layer of the layer bank are read.
// Channels are raw, run-length encoded or deflated planes, one per colour.
#include "imaging/RasterGraphics.h"

#include <cstdint>
#include <vector>

class TPSPGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // True when more than 36 bytes remain and they start with the signature (letter case
    // ignored) and a major version of 3 or more; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

private:
    struct BlockHeader {
        uint8_t HeaderIdent[4] = {};
        uint16_t BlockIdentifier = 0;
        uint32_t InitialChunkLength = 0;   // version 3 only
        uint32_t TotalBlockLength = 0;     // bytes after the block header
    };

    bool ReadPropertyBlockHeader(Stream& stream, BlockHeader& header);
    bool ReadBlockHeader();
    void ReadLayerBank(uint64_t bankEnd);
    void ReadChannel();
    void ReadAndDecode(std::vector<uint8_t>& plane, uint32_t compressedLength);
    void TransferPlanes();
    // Reads a chunk length and gives where the chunk ends (version 4 and later).
    uint64_t ChunkEnd();
    // Moves on to a position, never back.
    void GoForward(uint64_t position);

    BlockHeader FHeader;
    uint16_t FCompression = 0;
    std::size_t FRowSize = 0;
    std::vector<uint8_t> FPlanes[4];   // by channel type: composite, red, green, blue
    bool FCompositeFromImage = false;  // the composite plane holds the image, not a mask
    bool FLayerRead = false;
};
