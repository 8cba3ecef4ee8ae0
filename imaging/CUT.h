#pragma once
// Dr. Halo CUT images: 8-bit indices in run-length rows, with the colours in a palette file
// of the same name beside the image (extension ".pal"). The format has no signature, so it
// is chosen by extension alone.
#include "imaging/RasterGraphics.h"

#include <string>

class TCUTGraphic : public TRasterGraphic {
public:
    static const GraphicClass& Class();
    // Always false: nothing in a CUT file tells it apart.
    static bool CanLoad(Stream& stream);

    // Remembers the palette file beside the image, then loads the image.
    void LoadFromFile(const std::string& fileName) override;
    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

protected:
    // The palette file's colours, or a grey ramp when there is no palette file.
    void LoadPalette();

private:
    std::string paletteFile_;
};
