// Runs the fax, ThunderScan, Photo CD and JPEG-in-TIFF decoders on arbitrary bytes: the
// first two give a width (1..1024), the third a row count (1..64) and choices, the rest are
// the packed data. Sources and targets are heap buffers of exactly their sizes, so the
// sanitizers catch a decoder that reads or writes one byte beyond them.
#include "imaging/GraphicCompression.h"
#include "imaging/RasterGraphics.h"
#include "platform/Dialogs.h"
#include "platform/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint32_t width = 1 + ((data[0] | data[1] << 8) & 1023);
    const uint32_t rows = 1 + (data[2] & 63);
    const bool swap = data[2] & 64, aligned = data[2] & 128;
    const std::size_t packedSize = size - 3;
    std::unique_ptr<uint8_t[]> packed(new uint8_t[packedSize + 1]);
    std::memcpy(packed.get(), data + 3, packedSize);

    auto run = [&](TDecoder& decoder, std::size_t rowBytes) {
        std::size_t unpacked = rowBytes * rows;
        std::unique_ptr<uint8_t[]> target(new uint8_t[unpacked]);
        const uint8_t* source = packed.get();
        uint8_t* dest = target.get();
        try {
            decoder.DecodeInit();
            decoder.Decode(source, dest, int32_t(packedSize), int32_t(unpacked));
            decoder.DecodeEnd();
        } catch (const EGraphicCompression&) {
        }
        if (source != packed.get() || dest != target.get())
            std::abort();
    };
    TCCITTFax3Decoder g3(0, swap, aligned, width);
    run(g3, (width + 7) / 8);
    TCCITTMHDecoder mh(0, swap, aligned, width);
    run(mh, (width + 7) / 8);
    TThunderDecoder thunder(width);
    run(thunder, (width + 1) / 2);

    // Warnings of the JPEG decoder go to boxes nobody answers.
    ScriptedDialogs dialogs;
    SetAppDialogs(&dialogs);
    TImageProperties p;
    p.Width = width;
    p.Height = rows;
    p.SamplesPerPixel = swap ? 3 : 1;
    p.BitsPerSample = 8;
    p.ColorScheme = swap ? csYCbCr : csG;
    p.PlanarConfig = 1;
    p.RowsPerStrip = {rows};
    p.BytesPerLine = width * p.SamplesPerPixel;
    if (swap)
        p.YCbCrSubSampling = {2, 2};
    TTIFFJPEGDecoder jpeg(p);
    run(jpeg, p.BytesPerLine);
    SetAppDialogs(nullptr);

    // Past 1536 pixels a row, three code tables.
    const uint32_t pcdWidth = aligned ? width + 1536 : width;
    const std::size_t planeSize = std::size_t(pcdWidth) * rows;
    std::vector<uint8_t> luma(planeSize), chroma1(planeSize), chroma2(planeSize);
    ReadOnlyMemoryStream stream(packed.get(), packedSize);
    TPCDDecoder(stream).Decode({luma.data(), chroma1.data(), chroma2.data()}, pcdWidth, rows);
    return 0;
}
