#pragma once
// The size fields of a TGA file's header, as the texture previews report them.
#include <string>

#include "gamedata/TextureInfo.h"

enum class TgaHeaderRead {
    CannotOpen,  // the file could not be opened for reading
    TooShort,    // it ends before the pixel depth
    Read,        // width, height and bits were read
};

// Reads width (u16 at offset 12), height (u16 at 14) and pixel depth (u8 at 16),
// little-endian, into info; info's status is left alone, and so are its sizes unless the
// header was read whole.
TgaHeaderRead ReadTgaHeader(const std::string& path, TextureInfo& info);
