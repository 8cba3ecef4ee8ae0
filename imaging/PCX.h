#pragma once
// ZSoft Paintbrush images and Word screen captures: planar and chunky pixels, raw or
// run-length encoded, with the palette from the header, from a 256-colour block at the end
// of the stream, or the system's 16 colours.
#include "imaging/RasterGraphics.h"

#include <cstdint>

struct PCXHeader {
    uint8_t Manufacturer = 0;
    uint8_t Version = 0;
    uint8_t Encoding = 0;
    uint8_t BitsPerPixel = 0;
    uint16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
    uint16_t HRes = 0, VRes = 0;
    uint8_t ColorMap[48] = {};
    uint8_t ColorPlanes = 0;
    uint16_t BytesPerLine = 0;
    uint16_t PaletteType = 0;

    static constexpr std::size_t Size = 128;
    static PCXHeader Parse(const uint8_t (&bytes)[Size]);
};

class TPCXGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // More than 128 bytes remain and they hold a header the loader may accept; the stream is
    // left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

private:
    // The palette of every format but true colour; dataEnd is where the pixel data ends.
    void MakePalette(Stream& stream, const PCXHeader& header, uint64_t dataEnd);
    // The first lines rows come from data; the rest stay as they are (black).
    void transfer(const uint8_t* data, std::size_t lineSize, uint32_t lines, const PCXHeader& header);
};
