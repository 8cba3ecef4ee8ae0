#pragma once
// Texture previews of the Files/Textures tab and the texture dialog.
#include <string>

#include "gamedata/TextureInfo.h"
#include "ui/ImageView.h"

struct TexturePreview {
    TextureInfo info;
    // The file was found but its picture could not be read; the box says so.
    bool unreadable = false;

    // The size text of a picture that was read, from the folder or the archives; empty
    // otherwise, as a header that the reader refused holds no sizes worth showing.
    std::string SizeText() const;
};

// Finds a texture as the game-data loader does (folder TGA, folder DDS, archives) and shows
// it in box. A damaged picture never stops the caller: the box shows a short note.
TexturePreview PreviewTexture(TImage* box, const std::string& name);

// "width x height  bitsBits".
std::string TextureSizeText(const TextureInfo& info);
