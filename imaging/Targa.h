#pragma once
// Truevision Targa images: uncompressed and run-length encoded, 8-bit indices or grey
// levels, 15/16-, 24- and 32-bit pixels, read straight into the bitmap's rows in the file's
// blue-green-red order; 16-bit grey with alpha becomes 32-bit pixels, and rows stored right
// to left are mirrored back. Also writes Targa files.
#include "imaging/RasterGraphics.h"

#include <cstdint>

struct TargaHeader {
    uint8_t IDLength = 0;
    uint8_t ColorMapType = 0;
    uint8_t ImageType = 0;
    uint16_t ColorMapOrigin = 0;
    uint16_t ColorMapLength = 0;
    uint8_t ColorMapEntrySize = 0;
    uint16_t XOrigin = 0, YOrigin = 0;
    uint16_t Width = 0, Height = 0;
    uint8_t PixelSize = 0;
    uint8_t ImageDescriptor = 0;

    static constexpr std::size_t Size = 18;
    static TargaHeader Parse(const uint8_t (&bytes)[Size]);
    void Serialize(uint8_t (&bytes)[Size]) const;
    // The checks of CanLoad.
    bool IsValid() const;
};

class TTargaGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // True when more than 18 bytes remain and they start with a Targa header; the stream is
    // left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;
    void SaveToStream(Stream& stream) override { SaveToStream(stream, true); }
    void SaveToStream(Stream& stream, bool compressed);

private:
    void readPalette(Stream& stream, const TargaHeader& header);
    void readRLE(Stream& stream, const TargaHeader& header, bool topDown, std::size_t rowSize);
};
