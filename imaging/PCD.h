#pragma once
// Kodak Photo CD image and overview packs: the Base resolution (768 x 512), stored as one luma
// plane and two chroma planes of half the size, upsampled and turned from PhotoYCC into
// blue-green-red, and turned upright by the quarter turn the pack records.
#include "imaging/RasterGraphics.h"

#include <cstdint>

class TPCDGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // More than 6144 bytes remain and they start an overview pack ("PCD_OPA") or hold an image
    // pack's "PCD" at 2048; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    // ImageIndex picks the resolution (0 for 192 x 128 up to 5 for 6144 x 4096; larger counts
    // as 5); an overview pack has only the smallest.
    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    // Always the Base resolution.
    void LoadFromStream(Stream& stream) override;

    // Doubles a Width x Height plane in both directions in place, inside a buffer whose rows
    // are ScanLength bytes apart (at least 2 x Width, with 2 x Height rows).
    static void Upsample(uint32_t Width, uint32_t Height, uint32_t ScanLength, uint8_t* Plane);
};
