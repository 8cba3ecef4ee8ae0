#include "platform/SystemPictures.h"

#include "platform/Sizes.h"
#include "platform/Stream.h"

namespace {

PictureDecoders* installed = nullptr;

const char* nameOf(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Icon: return "Windows icons";
    case PictureKind::Metafile: return "Windows metafiles";
    default: return "JPEG images";
    }
}

template <class T>
std::unique_ptr<Bitmap> create()
{
    return std::make_unique<T>();
}

} // namespace

PictureDecoders* AppPictureDecoders()
{
    return installed;
}

void SetAppPictureDecoders(PictureDecoders* decoders)
{
    installed = decoders;
}

void DecodedPicture::LoadFromStream(Stream& stream)
{
    Clear();
    if (!installed)
        throw EInvalidGraphic(std::string("Cannot load image. No decoder for ") + nameOf(kind_) + " is installed.");
    const uint64_t size = stream.Remaining();
    if (size > MaxImageBytes)
        throw EInvalidGraphic("Cannot load image. A file of " + std::to_string(size) + " bytes is too large for " +
                              nameOf(kind_) + ".");
    const std::string bytes = stream.ReadString(std::size_t(size));
    installed->Decode(kind_, bytes, *this);
}

// The class library's classes are no image readers: detection by content passes them by.
const GraphicClass& Bitmap::Class()
{
    static const GraphicClass cls{"TBitmap", &create<Bitmap>, nullptr, false};
    return cls;
}

const GraphicClass& Icon::Class()
{
    static const GraphicClass cls{"TIcon", &create<Icon>, nullptr, false};
    return cls;
}

const GraphicClass& Metafile::Class()
{
    static const GraphicClass cls{"TMetafile", &create<Metafile>, nullptr, false};
    return cls;
}

const GraphicClass& JPEGImage::Class()
{
    static const GraphicClass cls{"TJPEGImage", &create<JPEGImage>, nullptr, false};
    return cls;
}
