#include "imaging/GraphicCompression.h"

#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Text.h"

#include <algorithm>
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

namespace {

// The library's copy, called: for literals of at most 128 bytes the compiler would inline a
// string move instead, which is several times slower on short lengths.
[[gnu::noinline]] void copyBytes(uint8_t* dest, const uint8_t* source, std::size_t count)
{
    std::memcpy(dest, source, count);
}

// The packed bytes still to read and the target bytes still to fill, both bounded: runs and
// literals are cut to what the target has room for, and reads stop at the end of the input.
struct RunBuffers {
    const uint8_t* in;
    const uint8_t* inEnd;
    uint8_t* out;
    uint8_t* outEnd;

    RunBuffers(const uint8_t* source, int32_t packedSize, uint8_t* dest, int32_t unpackedSize)
        : in(source), inEnd(source + (packedSize > 0 ? packedSize : 0)), out(dest),
          outEnd(dest + (unpackedSize > 0 ? unpackedSize : 0))
    {
    }

    std::size_t inLeft() const { return std::size_t(inEnd - in); }
    std::size_t outLeft() const { return std::size_t(outEnd - out); }
    bool take(uint8_t& b)
    {
        if (in == inEnd)
            return false;
        b = *in++;
        return true;
    }
    void fill(uint8_t value, std::size_t count)
    {
        count = std::min(count, outLeft());
        std::memset(out, value, count);
        out += count;
    }
    // Steps over count literal bytes of the input (as many as there are), copying what the
    // target has room for.
    void copy(std::size_t count)
    {
        count = std::min(count, inLeft());
        std::size_t n = std::min(count, outLeft());
        copyBytes(out, in, n);
        out += n;
        in += count;
    }
    // What the data did not reach is left black, not as the buffer happened to hold it.
    void finish() { std::memset(out, 0, outLeft()); }
};

} // namespace

void TPackbitsRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    uint8_t value;
    while (r.outLeft() > 0 && r.inLeft() > 0) {
        int n = int8_t(*r.in++);
        if (n >= 0) {
            r.copy(std::size_t(n) + 1);
        } else if (n != -128) {
            if (!r.take(value))
                break;
            r.fill(value, std::size_t(1 - n));
        }
    }
    r.finish();
}

void TPackbitsRLEDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TPCXRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    // Most PCX bytes are single pixels: they are stored without the bounds of fill.
    const uint8_t* in = r.in;
    uint8_t* out = r.out;
    while (out < r.outEnd && in < r.inEnd) {
        uint8_t b = *in++;
        if ((b & 0xC0) != 0xC0) {
            *out++ = b;
            continue;
        }
        if (in == r.inEnd)
            break;
        std::size_t count = std::min(std::size_t(b & 0x3F), std::size_t(r.outEnd - out));
        std::memset(out, *in++, count);
        out += count;
    }
    r.in = in;
    r.out = out;
    Produced = std::size_t(out - Dest);
    r.finish();
}

void TPCXRLEDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TSGIRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    if (SampleSize == 16) {
        while (r.outLeft() > 0 && r.inLeft() >= 2) {
            unsigned control = LoadU16BE(r.in);
            r.in += 2;
            std::size_t count = control & 0x7F;
            if (count == 0)
                break;
            if (control & 0x80) {
                r.copy(2 * count);
                continue;
            }
            if (r.inLeft() < 2)
                break;
            uint8_t hi = r.in[0], lo = r.in[1];
            r.in += 2;
            for (count = std::min(count, r.outLeft() / 2); count > 0; --count) {
                *r.out++ = hi;
                *r.out++ = lo;
            }
        }
    } else {
        uint8_t b, value;
        while (r.outLeft() > 0 && r.take(b)) {
            std::size_t count = b & 0x7F;
            if (count == 0)
                break;
            if (b & 0x80)
                r.copy(count);
            else if (r.take(value))
                r.fill(value, count);
        }
    }
    r.finish();
}

void TSGIRLEDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TCUTRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    r.in += std::min<std::size_t>(2, r.inLeft());   // the stored line length
    // The whole row is walked, also past a full target, so the next call starts at the next row.
    uint8_t b, value;
    while (r.take(b) && b != 0) {
        std::size_t count = b & 0x7F;
        if (!(b & 0x80))
            r.copy(count);
        else if (r.take(value))
            r.fill(value, count);
    }
    Source = r.in;
    r.finish();
}

void TCUTRLEDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TPSPRLEDecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    uint8_t b, value;
    while (r.outLeft() > 0 && r.take(b)) {
        if (b < 128)
            r.copy(b);
        else if (r.take(value))
            r.fill(value, std::size_t(b - 128));
    }
    r.finish();
}

void TPSPRLEDecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

void TRLADecoder::Decode(const uint8_t*& Source, uint8_t*& Dest, int32_t PackedSize, int32_t UnpackedSize)
{
    RunBuffers r(Source, PackedSize, Dest, UnpackedSize);
    uint8_t b, value;
    while (r.outLeft() > 0 && r.take(b)) {
        int n = int8_t(b);
        if (n < 0)
            r.copy(std::size_t(-n));
        else if (r.take(value))
            r.fill(value, std::size_t(n) + 1);
    }
    r.finish();
}

void TRLADecoder::Encode(const uint8_t*, uint8_t*, uint32_t, uint32_t&) {}

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
