#include "imaging/EPS.h"

#include "imaging/GraphicStrings.h"
#include "platform/ByteIO.h"
#include "platform/Stream.h"

#include <algorithm>

namespace {

const char* const kFormatName = "EPS";
const uint8_t kCode[4] = {0xC5, 0xD0, 0xD3, 0xC6};

std::unique_ptr<Bitmap> create() { return std::make_unique<TEPSGraphic>(); }

} // namespace

EPSHeader EPSHeader::Parse(const uint8_t (&b)[Size])
{
    ByteReader r(b, Size);
    EPSHeader h;
    r.Bytes(h.Code, sizeof h.Code);
    h.PSStart = r.U32LE();
    h.PSLength = r.U32LE();
    h.MetaPictStart = r.U32LE();
    h.MetaPictLength = r.U32LE();
    h.TiffStart = r.U32LE();
    h.TiffLength = r.U32LE();
    h.Checksum = r.U16LE();
    return h;
}

bool EPSHeader::HasCode() const
{
    return std::equal(Code, Code + 4, kCode);
}

const GraphicClass& TEPSGraphic::Class()
{
    static const GraphicClass cls{"TEPSGraphic", &create, &TEPSGraphic::CanLoad, true};
    return cls;
}

bool TEPSGraphic::CanLoad(Stream& stream)
{
    uint8_t bytes[EPSHeader::Size];
    if (!PeekHeader(stream, bytes, sizeof bytes))
        return false;
    EPSHeader h = EPSHeader::Parse(bytes);
    // The preview's start counts from the header, wherever that lies in the stream; it may
    // follow the header at once, and must start where the load can find it.
    return h.HasCode() && int32_t(h.TiffStart) >= int32_t(EPSHeader::Size) && h.TiffStart < stream.Remaining() &&
           int32_t(h.TiffLength) > 0;
}

void TEPSGraphic::LoadFromStream(Stream& stream)
{
    try {
        Clear();
        const uint64_t start = stream.Position();
        uint8_t bytes[EPSHeader::Size];
        stream.ReadBuffer(bytes, sizeof bytes);
        EPSHeader h = EPSHeader::Parse(bytes);
        // The preview lies after the header and inside the stream, or there is none.
        if (!h.HasCode() || h.TiffStart < EPSHeader::Size || h.TiffStart >= stream.Size() - start)
            RasterErrorFmt(gesInvalidImage, kFormatName);
        stream.SetPosition(start + h.TiffStart);
    } catch (...) {
        RethrowImageError(kFormatName);
    }
    TTIFFGraphic::LoadFromStream(stream);
}

void TEPSGraphic::SaveToStream(Stream&)
{
    RasterErrorFmt(gesCannotSave, kFormatName);
}
