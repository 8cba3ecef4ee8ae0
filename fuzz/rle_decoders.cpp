// Runs every run-length decoder on arbitrary bytes: the first two give the unpacked size,
// the rest are the packed data. Source and target are heap buffers of exactly their sizes,
// so the sanitizers catch a decoder that reads or writes one byte beyond them.
#include "imaging/GraphicCompression.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int32_t unpacked = int32_t(data[0] | (data[1] << 8));
    const std::size_t packedSize = size - 2;
    std::unique_ptr<uint8_t[]> packed(new uint8_t[packedSize]);
    std::memcpy(packed.get(), data + 2, packedSize);

    std::vector<std::unique_ptr<TDecoder>> decoders;
    decoders.push_back(std::make_unique<TPackbitsRLEDecoder>());
    decoders.push_back(std::make_unique<TPCXRLEDecoder>());
    decoders.push_back(std::make_unique<TSGIRLEDecoder>(uint8_t(8)));
    decoders.push_back(std::make_unique<TSGIRLEDecoder>(uint8_t(16)));
    decoders.push_back(std::make_unique<TCUTRLEDecoder>());
    decoders.push_back(std::make_unique<TPSPRLEDecoder>());
    decoders.push_back(std::make_unique<TRLADecoder>());
    for (auto& decoder : decoders) {
        std::unique_ptr<uint8_t[]> target(new uint8_t[std::size_t(unpacked)]);
        const uint8_t* source = packed.get();
        uint8_t* dest = target.get();
        decoder->Decode(source, dest, int32_t(packedSize), unpacked);
        // Only the CUT decoder moves the source, and never outside its bytes.
        if (dest != target.get() || source < packed.get() || source > packed.get() + packedSize)
            std::abort();
    }
    return 0;
}
