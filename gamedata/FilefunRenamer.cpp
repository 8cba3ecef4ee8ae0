// The prefix renamer: gives the tileset's asset files a new prefix, inside and out.
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "gamedata/Filefun.h"
#include "gamedata/FilefunInternal.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Files.h"
#include "platform/Text.h"

using namespace filefun;

std::string GetExtension3(std::string_view name)
{
    return std::string(name.size() < 3 ? name : name.substr(name.size() - 3));
}

std::string CopyLeft(std::string_view source, std::size_t n)
{
    return std::string(source.substr(0, n));
}

std::string OverwritePrefix(std::string_view name, std::size_t prefixLength, std::string_view newPrefix)
{
    if (prefixLength > name.size()) prefixLength = name.size();
    return std::string(newPrefix) + std::string(name.substr(prefixLength));
}

void SetTileModel(CTile* tile, const std::string& model)
{
    if (tile) tile->Model = model;
}

StringList& FindFilePrefixes(StringList& out, bool includeTextures)
{
    StringList files;
    ListAssetFiles(Game().SetDir, &files);
    for (const std::string& name : files) {
        if (!includeTextures && (HasExt3(name, "tga") || HasExt3(name, "dds"))) continue;
        if (StartsWithNoCase(name, "mi", 2)) continue;   // minimap images
        std::string prefix = CopyLeft(name, 5);
        if (out.IndexOf(prefix) < 0) out.Add(std::move(prefix));
    }
    return out;
}

int ReplacePrefixInFile(const std::string& path, const std::string& oldPrefix,
                        const std::string& newPrefix, bool everywhere)
{
    if (oldPrefix.empty()) return 0;
    std::string file = ResolveFile(path);
    std::string bytes;
    if (file.empty() || !CanReadWrite(file) || !ReadWholeFile(file, bytes)) return 0;
    if (!everywhere && IsBinaryModel(bytes)) return 0;
    // Offsets inside a binary file would no longer point where they should.
    bool binary = IsBinaryModel(bytes) || bytes.find('\0') != std::string::npos;
    if (binary && newPrefix.size() != oldPrefix.size()) return 0;

    std::string_view in(bytes);
    std::string out;
    out.reserve(in.size());
    int replaced = 0;
    const std::size_t n = oldPrefix.size();
    for (std::size_t p = 0; p < in.size();) {
        if (n <= in.size() - p && EqualsNoCase(in.substr(p, n), oldPrefix)) {
            if (!everywhere && p >= 7 && EqualsNoCase(in.substr(p - 7, 6), "bitmap")) {
                // A texture name keeps its prefix, all of it.
                out.append(in.substr(p, n));
            } else {
                out += newPrefix;
                ++replaced;
            }
            p += n;
        } else {
            out.push_back(in[p++]);
        }
    }
    if (replaced == 0) return 0;
    return WriteFileAtomic(file, out) ? replaced : 0;
}

namespace {

// The folder's names in lower case, so a rename never lands on a file that is already
// there in another letter case.
class FolderNames {
public:
    explicit FolderNames(const StringList& names)
    {
        for (const auto& n : names) ++count_[LowerAscii(n)];
    }

    // Renames dir/from to dir/to unless that would replace another file or leave the folder.
    bool Rename(const std::string& dir, const std::string& from, const std::string& to)
    {
        const auto source = JoinFileName(dir, from), target = JoinFileName(dir, to);
        if (!source || !target) return false;
        std::string lf = LowerAscii(from), lt = LowerAscii(to);
        if (from != to) {
            if (lf != lt && count_[lt] > 0) return false;
            // Anything under that name stays, even a link that leads nowhere.
            std::error_code ec;
            if (std::filesystem::symlink_status(*target, ec).type() != std::filesystem::file_type::not_found)
                return false;
        }
        if (!RenameFile(*source, *target)) return false;
        --count_[lf];
        ++count_[lt];
        return true;
    }

private:
    std::unordered_map<std::string, int> count_;
};

}  // namespace

int RenameFilesPrefix(const std::string& oldPrefix, const std::string& newPrefix, bool everywhere,
                      bool renameTextures, ProgressSink& bar, LineSink& memo)
{
    const std::string dir = Game().SetDir;
    const std::string dashes(42, '-');
    // The folder is listed once, so renamed files are never met again.
    StringList files;
    ListAssetFiles(dir, &files);
    bar.SetMax(files.Count());
    FolderNames folder(files);
    StringList leftAlone;   // base names of models that were not renamed
    int renamed = 0;

    auto rename = [&](const std::string& from, const std::string& to) {
        bool ok = folder.Rename(dir, from, to);
        memo.AddLine((ok ? "SUCESS : " : "FAILED : ") + from + " --> " + to);
        memo.AddLine(dashes);
        if (ok) ++renamed;
        return ok;
    };

    for (const std::string& name : files) {
        bar.StepIt();
        if (oldPrefix.empty() || !StartsWithNoCase(name, oldPrefix)) continue;
        // A prefix that reaches into the extension would change what kind of file it is.
        if (name.size() < oldPrefix.size() + 4) continue;
        const std::string newName = OverwritePrefix(name, oldPrefix.size(), newPrefix);

        if (HasExt3(name, "tga") || HasExt3(name, "dds")) {
            if (renameTextures) rename(name, newName);
            continue;
        }
        if (!HasExt3(name, "mdl") && !HasExt3(name, "wok")) continue;

        const std::string base = BaseName4(name);
        if (HasExt3(name, "wok") && leftAlone.IndexOf(base) >= 0) continue;
        const std::string path = JoinPath(dir, name);
        // A binary file cannot take a prefix of another length inside; it keeps its name
        // too, so that name and contents still agree.
        const bool lengthChanges = oldPrefix.size() != newPrefix.size();
        if (!everywhere || lengthChanges) {
            std::string bytes;
            bool readable = CanReadWrite(path) && ReadWholeFile(path, bytes);
            if (!everywhere && !readable) continue;
            if (IsBinaryModel(bytes) || (lengthChanges && bytes.find('\0') != std::string::npos)) {
                memo.AddLine(name + " ---> Non ascii file, not renamed");
                memo.AddLine(dashes);
                leftAlone.Add(base);
                continue;
            }
        }
        if (!rename(name, newName)) {
            leftAlone.Add(base);
            continue;
        }
        const std::string newBase = BaseName4(newName);
        for (CTile* tile : TS().TileList)
            if (tile->Model == base) SetTileModel(tile, newBase);
        ReplacePrefixInFile(JoinPath(dir, newName), oldPrefix, newPrefix, everywhere);
    }

    bar.SetPosition(0);
    if (CTile* first = TS().TileList.Head()) first->FillMainLists();
    return renamed;
}
