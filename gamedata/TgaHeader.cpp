#include "gamedata/TgaHeader.h"

#include <cstdio>

#include "platform/ByteIO.h"

TgaHeaderRead ReadTgaHeader(const std::string& path, TextureInfo& info)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return TgaHeaderRead::CannotOpen;
    uint8_t header[17];
    const bool whole = std::fread(header, 1, sizeof header, f) == sizeof header;
    std::fclose(f);
    if (!whole) return TgaHeaderRead::TooShort;
    ByteReader r(header, sizeof header);
    r.Seek(12);
    info.width = r.U16LE();
    info.height = r.U16LE();
    info.bits = r.U8();
    return TgaHeaderRead::Read;
}
