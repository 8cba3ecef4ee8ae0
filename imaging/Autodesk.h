#pragma once
// Autodesk Animator cel and pic images: 8-bit indices, uncompressed, top row first, with a
// 256-entry palette of 6-bit components.
#include "imaging/RasterGraphics.h"

class TAutodeskGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // More than 32 bytes remain, the file identifier is 0x9119, 8 bits per pixel, no
    // compression; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;
};
