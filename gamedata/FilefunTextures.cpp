// Texture names on the "bitmap" lines of text models: collecting, renaming and previewing.
#include "gamedata/Filefun.h"
#include "gamedata/FilefunInternal.h"
#include "gamedata/GameData.h"
#include "gamedata/TgaHeader.h"
#include "model/Tileset.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

using namespace filefun;

namespace {

// Position of the first "bitmap" in text, ignoring case; npos when there is none.
std::size_t FindBitmapWord(std::string_view text)
{
    static constexpr std::string_view word = "bitmap";
    for (std::size_t p = 0; p + word.size() <= text.size(); ++p)
        if (EqualsNoCase(text.substr(p, word.size()), word)) return p;
    return std::string_view::npos;
}

// True when the six bytes seven before p spell "bitmap" (the word, then one separator).
bool BitmapBefore(std::string_view bytes, std::size_t p)
{
    return p >= 7 && EqualsNoCase(bytes.substr(p - 7, 6), "bitmap");
}

}  // namespace

int CollectMdlTextures(const std::string& model, StringList& textures, bool includeGame)
{
    auto path = FindFile(Game().SetDir, model + ".mdl");
    std::string bytes;
    if (!path || !ReadWholeFile(*path, bytes)) return -2;
    if (IsBinaryModel(bytes)) return -1;
    TextFile file;
    file.OpenText(std::move(bytes));

    int added = 0;
    std::string line;
    while (file.ReadLine(line, 1023)) {
        // The name runs to the line end; a last line may have none, and a "bitmap" at the
        // very end of a line names nothing.
        std::string_view text(line);
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        std::size_t at = FindBitmapWord(text);
        if (at == std::string_view::npos || at + 7 > text.size()) continue;
        std::string name(text.substr(at + 7));
        if (name.empty() || name == "NULL" || textures.IndexOf(name) >= 0) continue;
        if (!includeGame && Game().BifResList.HasTileTga(name)) continue;
        textures.Add(std::move(name));
        ++added;
    }
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
    // An empty name would match before every carriage return of a "bitmap" line and never
    // move the walk on.
    if (oldName.empty()) return 0;
    std::string file = ResolveFile(path);
    std::string bytes;
    if (file.empty() || !CanReadWrite(file) || !ReadWholeFile(file, bytes) || IsBinaryModel(bytes)) return 0;

    std::string_view in(bytes);
    std::string out;
    out.reserve(in.size());
    int replaced = 0;
    const std::size_t n = oldName.size();
    for (std::size_t p = 0; p < in.size();) {
        if (p >= 7 && n < in.size() - p && in[p + n] == '\r' && EqualsNoCase(in.substr(p, n), oldName) &&
            BitmapBefore(in, p)) {
            out += newName;
            p += n;
            ++replaced;
        } else {
            out.push_back(in[p++]);
        }
    }
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
        if (TgaHeaderRead read = ReadTgaHeader(*tga, info); read != TgaHeaderRead::CannotOpen) {
            info.status = 0;
            if (read == TgaHeaderRead::TooShort) {
                // Too short to hold a TGA header: there is nothing to show.
                image.ClearPicture();
                return info;
            }
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
    if (Game().BifResList.HasTileTga(name)) return Game().BifResList.LoadTileTexture(name, image);
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
