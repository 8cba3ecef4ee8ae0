// Texture names on the "bitmap" lines of text models: collecting, renaming and previewing.
#include <algorithm>

#include "gamedata/Filefun.h"
#include "gamedata/FilefunInternal.h"
#include "gamedata/GameData.h"
#include "gamedata/TgaHeader.h"
#include "model/Tileset.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace filefun {

std::string_view BitmapName(std::string_view line)
{
    static constexpr std::string_view blanks = " \t\r\n\v\f";
    auto word = [&](std::size_t from) {
        const std::size_t start = std::min(line.find_first_not_of(blanks, from), line.size());
        return line.substr(start, std::min(line.find_first_of(blanks, start), line.size()) - start);
    };
    const std::string_view first = word(0);
    if (!EqualsNoCase(first, "bitmap")) return {};
    return word(std::size_t(first.data() - line.data()) + first.size());
}

int RenameBitmapNames(std::string_view bytes, const std::function<const std::string*(std::string_view)>& newName,
                      std::string& out)
{
    out.clear();
    out.reserve(bytes.size());
    int replaced = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        const std::string_view name = BitmapName(line);
        const std::string* to = name.empty() ? nullptr : newName(name);
        if (!to) {
            out.append(line);
            return;
        }
        const std::size_t at = std::size_t(name.data() - line.data());
        out.append(line.substr(0, at)).append(*to).append(line.substr(at + name.size()));
        ++replaced;
    });
    return replaced;
}

}  // namespace filefun

using namespace filefun;

int CollectMdlTextures(const std::string& model, StringList& textures, bool includeGame)
{
    auto path = FindFile(Game().SetDir, model + ".mdl");
    std::string bytes;
    if (!path || !ReadWholeFile(*path, bytes)) return -2;
    if (IsBinaryModel(bytes)) return -1;

    int added = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        std::string name(BitmapName(line));
        if (name.empty() || name == "NULL" || textures.IndexOf(name) >= 0) return;
        if (!includeGame && Game().BifResList.HasTileTga(name)) return;
        textures.Add(std::move(name));
        ++added;
    });
    return added;
}

int CollectAllTileTextures(StringList* textures, ProgressSink& bar, bool includeGame)
{
    if (!textures) return -1;
    int added = 0;
    for (const CTile* tile : TS().TileList) {
        int n = CollectMdlTextures(tile->Model, *textures, includeGame);
        if (n > 0) added += n;
        bar.StepIt();
    }
    return added;
}

int ReplaceTextureInMdl(const std::string& path, const std::string& oldName, const std::string& newName)
{
    std::string file = ResolveFile(path);
    std::string bytes;
    if (file.empty() || !CanReadWrite(file) || !ReadWholeFile(file, bytes) || IsBinaryModel(bytes)) return 0;

    std::string out;
    const int replaced = RenameBitmapNames(
        bytes, [&](std::string_view name) { return EqualsNoCase(name, oldName) ? &newName : nullptr; }, out);
    if (replaced == 0) return 0;
    // The old model stays whole unless the new one was written completely.
    return WriteFileAtomic(file, out) ? replaced : 0;
}

TextureInfo LoadTexturePreview(const std::string& name, ImageBox& image)
{
    TextureInfo info;
    std::string base = name;
    bool tgaWanted = true;
    std::string_view tail = name.size() >= 4 ? std::string_view(name).substr(name.size() - 4) : std::string_view();
    if (EqualsNoCase(tail, ".tga")) {
        base = BaseName4(name);
    } else if (EqualsNoCase(tail, ".dds")) {
        base = BaseName4(name);
        tgaWanted = false;
    } else {
        image.SetStretch(false);
    }
    const std::string& dir = Game().SetDir;

    if (auto tga = tgaWanted ? FindFile(dir, base + ".tga") : std::nullopt) {
        if (ReadTgaHeader(*tga, info) != TgaHeaderRead::CannotOpen) {
            // Even a file too short for the sizes goes to the reader, which says what is wrong.
            info.status = 0;
            if (info.width > 128 || info.height > 128) image.SetStretch(true);
            image.LoadPicture(*tga);
            return info;
        }
    }
    if (FindFile(dir, base + ".dds")) {
        image.ClearPicture();
        info.status = 1;
        return info;
    }
    // The archives hold textures by name alone.
    if (Game().BifResList.HasTileTga(base)) return Game().BifResList.LoadTileTexture(base, image);
    image.ClearPicture();
    return info;
}

int ListAssetFiles(const std::string& folder, StringList* list)
{
    std::vector<std::string> entries;
    if (!list || !ListFolder(folder, entries)) return -1;
    for (const std::string& entry : entries)
        if (HasExt3(entry, "tga") || HasExt3(entry, "dds") || HasExt3(entry, "mdl") || HasExt3(entry, "wok"))
            list->Add(entry);
    return 0;
}
