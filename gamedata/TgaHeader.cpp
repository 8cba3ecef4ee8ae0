#include "gamedata/TgaHeader.h"

#include "platform/Stream.h"

TgaHeaderRead ReadTgaHeader(const std::string& path, TextureInfo& info)
{
    try {
        FileStream file(path, FileStream::Mode::OpenRead);
        // The three fields are taken only when the header holds them all.
        file.Require(17);
        file.SetPosition(12);
        info.width = file.U16LE();
        info.height = file.U16LE();
        info.bits = file.U8();
        return TgaHeaderRead::Read;
    } catch (const ReadError&) {
        return TgaHeaderRead::TooShort;
    } catch (const StreamError&) {
        return TgaHeaderRead::CannotOpen;
    }
}
