#include "ui/TexturePreview.h"

#include "gamedata/Filefun.h"
#include "platform/Text.h"

namespace {
// The box as the loader sees it, with the picture reader's error stopped at the box.
class GuardedBox : public ImageBox {
public:
    explicit GuardedBox(TImage* box) : box_(box) {}
    void LoadPicture(const std::string& path) override
    {
        if (!ShowPreview(box_, [&] { box_->LoadPicture(path); })) failed = true;
    }
    void ClearPicture() override { box_->ClearPicture(); }
    void SetStretch(bool on) override { box_->SetStretch(on); }
    bool failed = false;

private:
    TImage* box_;
};
}

TexturePreview PreviewTexture(TImage* box, const std::string& name)
{
    GuardedBox guarded(box);
    TexturePreview preview;
    preview.info = LoadTexturePreview(name, guarded);
    preview.unreadable = guarded.failed;
    return preview;
}

std::string TextureSizeText(const TextureInfo& info)
{
    return Format("%d x %d  %dBits", int(info.width), int(info.height), int(info.bits));
}

std::string TexturePreview::SizeText() const
{
    return unreadable || (info.status != 0 && info.status != 2) ? std::string() : TextureSizeText(info);
}
