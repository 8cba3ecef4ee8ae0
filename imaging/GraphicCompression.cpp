#include "imaging/GraphicCompression.h"

#include "imaging/GraphicStrings.h"
#include "platform/Text.h"

#include <cstring>

#include <zlib.h>

void CompressionError(const std::string& message)
{
    throw EGraphicCompression(message);
}

void TDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&)
{
    CompressionError("This compression scheme cannot encode.");
}

int TTargaRLEDecoder::PixelBytes(uint32_t colorDepth)
{
    switch (colorDepth) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

void TTargaRLEDecoder::DecodeInit()
{
    pendingCount_ = 0;
    pendingRun_ = false;
}

namespace {
// Writes count copies of a pixel of pb bytes.
inline void fillPixels(uint8_t* dest, const uint8_t* pixel, uint32_t count, int pb)
{
    switch (pb) {
    case 1: std::memset(dest, pixel[0], count); break;
    case 2:
        for (uint32_t i = 0; i < count; ++i, dest += 2)
            std::memcpy(dest, pixel, 2);
        break;
    case 3:
        for (uint32_t i = 0; i < count; ++i, dest += 3)
            std::memcpy(dest, pixel, 3);
        break;
    default: {
        uint32_t v;
        std::memcpy(&v, pixel, 4);
        for (uint32_t i = 0; i < count; ++i, dest += 4)
            std::memcpy(dest, &v, 4);
    }
    }
}
} // namespace

void TTargaRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    int pb = PixelBytes(ColorDepth);
    if (pb == 0 || UnpackedSize < 1)
        return;
    const uint8_t* src = Source;
    const uint8_t* end = Source + (PackedSize > 0 ? PackedSize : 0);
    uint8_t* dst = Dest;
    uint32_t wanted = uint32_t(UnpackedSize);
    auto truncated = [] { CompressionError(Format(gesCompression, "Targa")); };

    while (wanted > 0) {
        if (pendingCount_ == 0) {
            if (src >= end)
                truncated();
            uint8_t h = *src++;
            pendingCount_ = (h & 0x7Fu) + 1;
            pendingRun_ = h & 0x80;
            if (pendingRun_) {
                if (end - src < pb)
                    truncated();
                std::memcpy(runPixel_, src, std::size_t(pb));
                src += pb;
            }
        }
        uint32_t n = pendingCount_ < wanted ? pendingCount_ : wanted;
        if (pendingRun_) {
            fillPixels(dst, runPixel_, n, pb);
        } else {
            std::size_t bytes = std::size_t(n) * std::size_t(pb);
            if (std::size_t(end - src) < bytes)
                truncated();
            std::memcpy(dst, src, bytes);
            src += bytes;
        }
        dst += std::size_t(n) * std::size_t(pb);
        pendingCount_ -= n;
        wanted -= n;
    }
    Source = src;
}

void TTargaRLEDecoder::Encode(const uint8_t* Source, uint8_t* Dest, uint32_t Count, uint32_t& BytesStored)
{
    BytesStored = 0;
    if (Count == 0)
        return;
    const std::size_t pb = std::size_t((ColorDepth + 1) / 8);
    if (pb == 0 || pb > 4)
        return;
    auto same = [pb](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, pb) == 0; };
    uint32_t left = Count;
    const uint8_t* s = Source;
    uint8_t* d = Dest;
    while (left > 0) {
        // Pixels before the first pair of equal neighbours; a row that ends in differing
        // pixels leaves its last one to a packet of its own.
        uint32_t differing;
        if (left == 1) {
            differing = 1;
        } else {
            differing = 0;
            while (differing < left - 1 && differing < 128 && !same(s + differing * pb, s + (differing + 1) * pb))
                ++differing;
        }
        uint32_t run = 1;
        while (run < left && run < 128 && same(s, s + run * pb))
            ++run;
        if (differing > 0) {
            *d++ = uint8_t(differing - 1);
            std::memcpy(d, s, differing * pb);
            d += differing * pb;
            s += differing * pb;
            BytesStored += uint32_t(differing * pb + 1);
            left -= differing;
        } else if (run > 1) {
            *d++ = uint8_t((run - 1) | 0x80);
            std::memcpy(d, s, pb);
            d += pb;
            s += run * pb;
            BytesStored += uint32_t(pb + 1);
            left -= run;
        }
    }
}

// ---- deflate ----

TLZ77Decoder::TLZ77Decoder(int FlushMode, bool AutoReset)
    : FStream(std::make_unique<z_stream>()), FFlushMode(FlushMode), FAutoReset(AutoReset)
{
}

TLZ77Decoder::~TLZ77Decoder()
{
    if (FStarted)
        inflateEnd(FStream.get());
}

void TLZ77Decoder::DecodeInit()
{
    if (FStarted)
        inflateEnd(FStream.get());
    *FStream = z_stream{};
    FStatus = 0;
    if (inflateInit(FStream.get()) < 0)
        CompressionError(gesLZ77Error);
    FStarted = true;
}

void TLZ77Decoder::DecodeEnd()
{
    if (!FStarted)
        return;
    FStarted = false;
    if (inflateEnd(FStream.get()) < 0)
        CompressionError(gesLZ77Error);
}

void TLZ77Decoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    // Without DecodeInit there is no stream to feed.
    if (!FStarted)
        return;
    z_stream& s = *FStream;
    s.next_in = const_cast<Bytef*>(Source);
    s.avail_in = uInt(PackedSize > 0 ? PackedSize : 0);
    if (FAutoReset)
        FStatus = inflateReset(&s);
    if (FStatus != Z_OK)
        return;
    s.next_out = Dest;
    s.avail_out = uInt(UnpackedSize > 0 ? UnpackedSize : 0);
    FStatus = inflate(&s, FFlushMode);
    Source = s.next_in;
    Dest = s.next_out;
}

uint32_t TLZ77Decoder::GetAvailableInput() const
{
    return FStream->avail_in;
}

uint32_t TLZ77Decoder::GetAvailableOutput() const
{
    return FStream->avail_out;
}
