#pragma once
// Encapsulated PostScript with a binary header: the PostScript itself is not interpreted;
// the TIFF preview the header points to is loaded.
#include "imaging/TIFF.h"

#include <cstdint>
#include <string>

// The 30-byte little-endian header at the start of the file.
struct EPSHeader {
    uint8_t Code[4] = {};   // C5 D0 D3 C6
    uint32_t PSStart = 0, PSLength = 0;
    uint32_t MetaPictStart = 0, MetaPictLength = 0;
    uint32_t TiffStart = 0;    // from the start of the header
    uint32_t TiffLength = 0;
    uint16_t Checksum = 0;

    static constexpr std::size_t Size = 30;
    static EPSHeader Parse(const uint8_t (&bytes)[Size]);
    bool HasCode() const;
};

class TEPSGraphic : public TTIFFGraphic {
public:
    static const GraphicClass& Class();
    // More than 30 bytes remain and they hold the header, with a preview of a length above
    // 0 that starts behind the header and inside the stream; the stream is left where it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    // Loads the TIFF preview as the TIFF reader does, its start taken as the image start.
    // The preview's length is not looked at. (TEPSGraphic::ReadImageProperties is the TIFF
    // reader's, reading at the preview's start.)
    void LoadFromStream(Stream& stream) override;
    // Raises EInvalidGraphic (gesCannotSave for EPS) before anything is written.
    void SaveToStream(Stream& stream) override;
};
