#pragma once
// The class library's own picture classes beside the plain bitmap (which reads Windows
// bitmaps itself): icons, metafiles and JPEG images. They are declared here, below the ui,
// so that the picture registry can name them; their files are decoded by well-kept outside
// libraries that the program installs at start-up, as it installs its dialogs. Each keeps
// the decoded pixels as a bitmap, and saves as one.
#include "platform/Bitmap.h"
#include "platform/Picture.h"

#include <string_view>

enum class PictureKind { Icon, Metafile, JPEG };

class PictureDecoders {
public:
    virtual ~PictureDecoders() = default;
    // Decodes a whole file of the kind into the bitmap, which comes empty. Throws
    // EInvalidGraphic when the bytes are no such picture or cannot be decoded.
    virtual void Decode(PictureKind kind, std::string_view bytes, Bitmap& bitmap) = 0;
};

// The decoders in use, not owned; none until the program installs its own.
PictureDecoders* AppPictureDecoders();
void SetAppPictureDecoders(PictureDecoders* decoders);   // nullptr removes them

// A picture whose file the installed decoders read.
class DecodedPicture : public Bitmap {
public:
    explicit DecodedPicture(PictureKind kind) : kind_(kind) {}
    // Hands the rest of the stream to the decoders. Throws EInvalidGraphic when none are
    // installed or the file is larger than any picture may be, and what the decoders throw.
    void LoadFromStream(Stream& stream) override;
    PictureKind Kind() const { return kind_; }

private:
    PictureKind kind_;
};

// Windows icons: the largest picture of the file.
class Icon : public DecodedPicture {
public:
    Icon() : DecodedPicture(PictureKind::Icon) {}
    static const GraphicClass& Class();
};

// Windows metafiles and enhanced metafiles, told apart by their content and drawn at their
// own size on white.
class Metafile : public DecodedPicture {
public:
    Metafile() : DecodedPicture(PictureKind::Metafile) {}
    static const GraphicClass& Class();
};

class JPEGImage : public DecodedPicture {
public:
    JPEGImage() : DecodedPicture(PictureKind::JPEG) {}
    static const GraphicClass& Class();
};
