#pragma once
// SGI images: grey, RGB and RGBA with 8- or 16-bit samples, stored verbatim or run-length
// encoded, one plane per channel, rows bottom-up.
#include "imaging/RasterGraphics.h"

#include <cstdint>
#include <memory>
#include <vector>

class TSGIRLEDecoder;

class TSGIGraphic : public TRasterGraphic {
public:
    TSGIGraphic();
    ~TSGIGraphic() override;

    static const GraphicClass& Class();
    // More than 512 bytes remain and they start with an SGI header; the stream is left where
    // it was.
    static bool CanLoad(Stream& stream);
    static bool CanLoad(const std::string& fileName) { return CanLoadFile(Class(), fileName); }

    bool ReadImageProperties(Stream& stream, uint32_t imageIndex) override;
    void LoadFromStream(Stream& stream) override;

protected:
    // Fills each given channel buffer (null ones are skipped) with image row `row` of that
    // channel: width x bytesPerChannel bytes each.
    void ReadAndDecode(uint8_t* Red, uint8_t* Green, uint8_t* Blue, uint8_t* Alpha, uint32_t Row,
                       uint32_t BytesPerChannel);

private:
    std::vector<uint32_t> starts_, lengths_;   // per channel row, channel by channel
    std::unique_ptr<TSGIRLEDecoder> decoder_;  // only while a run-length file loads
    std::vector<uint8_t> packed_;              // one packed channel row
};
