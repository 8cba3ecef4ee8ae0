// The prefix renamer: gives the tileset's asset files a new prefix, inside and out.
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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

namespace {

// Every occurrence of oldPrefix (ignoring case) in text replaced by newPrefix.
int ReplaceAll(std::string_view in, const std::string& oldPrefix, const std::string& newPrefix, std::string& out)
{
    int replaced = 0;
    const std::size_t n = oldPrefix.size();
    for (std::size_t p = 0; p < in.size();) {
        if (n <= in.size() - p && EqualsNoCase(in.substr(p, n), oldPrefix)) {
            out += newPrefix;
            ++replaced;
            p += n;
        } else {
            out.push_back(in[p++]);
        }
    }
    return replaced;
}

// The bytes of a file with the prefix replaced; unless everywhere, the lines that name a
// texture keep it as it is. Returns the occurrences replaced.
int ReplacePrefixInBytes(std::string_view in, const std::string& oldPrefix, const std::string& newPrefix,
                         bool everywhere, std::string& out)
{
    out.clear();
    out.reserve(in.size());
    if (oldPrefix.empty()) return 0;
    if (everywhere) return ReplaceAll(in, oldPrefix, newPrefix, out);
    int replaced = 0;
    ForEachLine(in, [&](std::string_view line) {
        if (BitmapName(line).empty()) replaced += ReplaceAll(line, oldPrefix, newPrefix, out);
        else out.append(line);
    });
    return replaced;
}

// A binary file cannot take a prefix of another length inside: its offsets would no
// longer point where they should.
bool CannotTake(std::string_view bytes, const std::string& oldPrefix, const std::string& newPrefix)
{
    return newPrefix.size() != oldPrefix.size() && (IsBinaryModel(bytes) || bytes.find('\0') != std::string::npos);
}

}  // namespace

int ReplacePrefixInFile(const std::string& path, const std::string& oldPrefix,
                        const std::string& newPrefix, bool everywhere)
{
    std::string file = ResolveFile(path);
    std::string bytes, out;
    if (file.empty() || !CanReadWrite(file) || !ReadWholeFile(file, bytes)) return 0;
    if ((!everywhere && IsBinaryModel(bytes)) || CannotTake(bytes, oldPrefix, newPrefix)) return 0;
    const int replaced = ReplacePrefixInBytes(bytes, oldPrefix, newPrefix, everywhere, out);
    if (replaced == 0) return 0;
    return WriteFileAtomic(file, out) ? replaced : 0;
}

namespace {

// Whether lower holds word (both in lower case) with no letter, digit or underscore on either
// side.
bool HoldsWord(std::string_view lower, std::string_view word)
{
    auto partOfName = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; };
    if (word.empty()) return false;
    for (std::size_t p = lower.find(word); p != std::string_view::npos; p = lower.find(word, p + 1)) {
        const std::size_t end = p + word.size();
        if ((p == 0 || !partOfName(lower[p - 1])) && (end == lower.size() || !partOfName(lower[end]))) return true;
    }
    return false;
}

// Why a file could not be renamed or written, in the words of a user rather than the system's.
std::string PlainWords(std::error_code ec)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return "the folder cannot be written";
    if (ec == std::errc::read_only_file_system) return "the disk is read-only";
    if (ec == std::errc::no_space_on_device || ec.value() == EDQUOT) return "the disk is full";
    if (ec == std::errc::file_too_large) return "the new file would be too large to write";
    if (ec == std::errc::no_such_file_or_directory) return "the file is no longer there";
    if (ec == std::errc::filename_too_long) return "the new name is too long";
    return ec.message();
}

// The folder's names in lower case, so a rename never lands on a file that is already
// there in another letter case.
class FolderNames {
public:
    explicit FolderNames(const StringList& names)
    {
        for (const auto& n : names) ++count_[LowerAscii(n)];
    }

    // Why dir/from may not become dir/to; empty when it may: nothing else is there under
    // that name.
    std::string Refusal(const std::string& dir, const std::string& from, const std::string& to)
    {
        const auto target = JoinFileName(dir, to);
        if (!JoinFileName(dir, from)) return "its name is not a plain file name";
        if (!target) return "the new name is not a plain file name";
        if (from == to) return {};
        // Anything under that name stays, even a link that leads nowhere.
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(*target, ec).type();
        if (type == std::filesystem::file_type::not_found &&
            (LowerAscii(from) == LowerAscii(to) || count_[LowerAscii(to)] == 0))
            return {};
        if (type == std::filesystem::file_type::none && ec) return PlainWords(ec);
        // The name as the folder holds it: it may differ from the new one in case alone.
        const auto there = FindNoCase(dir, to);
        return "the folder already holds " + (there ? FileNameOf(*there) : to);
    }

    // Renames dir/from to dir/to unless that would replace another file or leave the folder.
    // Why it did not; empty when it did.
    std::string Rename(const std::string& dir, const std::string& from, const std::string& to)
    {
        std::string why = Refusal(dir, from, to);
        std::error_code ec;
        if (why.empty() && !RenameFile(JoinPath(dir, from), JoinPath(dir, to), &ec)) why = PlainWords(ec);
        if (!why.empty()) return why;
        --count_[LowerAscii(from)];
        ++count_[LowerAscii(to)];
        return {};
    }

private:
    std::unordered_map<std::string, int> count_;
};

// One run of the renamer over a listed folder.
class PrefixRun {
public:
    PrefixRun(const std::string& oldPrefix, const std::string& newPrefix, bool everywhere, bool renameTextures,
              LineSink& memo)
        : old_(oldPrefix), new_(newPrefix), everywhere_(everywhere), renameTextures_(renameTextures),
          dir_(Game().SetDir), memo_(memo)
    {
        ListAssetFiles(dir_, &files_);
        folder_.emplace(files_);
        PairWalkmeshes();
        // The file each tile's model and walkmesh is, found as everywhere else (the exact
        // name first), so a tile follows its file whatever the letter case.
        std::unordered_set<std::string> exact(files_.begin(), files_.end());
        std::unordered_map<std::string, std::string> byCase;
        for (const std::string& f : files_) byCase.emplace(LowerAscii(f), f);
        auto find = [&](const std::string& name) {
            if (exact.count(name)) return name;
            auto it = byCase.find(LowerAscii(name));
            return it == byCase.end() ? std::string() : it->second;
        };
        for (CTile* tile : TS().TileList)
            tiles_.push_back({tile, find(tile->Model + ".mdl"), find(tile->Model + ".wok")});
    }

    const StringList& Files() const { return files_; }
    int Renamed() const { return renamed_; }

    void Handle(const std::string& name)
    {
        if (old_.empty() || !StartsWithNoCase(name, old_)) return;
        // A prefix that reaches into the extension would change what kind of file it is.
        if (name.size() < old_.size() + 4) return;
        if (HasExt3(name, "tga") || HasExt3(name, "dds")) {
            if (!renameTextures_) return;
            const std::string why = folder_->Rename(dir_, name, NewName(name));
            Log(why.empty() ? "SUCESS : " + name + " --> " + NewName(name) : Failed(name, why));
            renamed_ += why.empty();
            if (why.empty()) TextureRenamed(name);
            return;
        }
        const bool model = HasExt3(name, "mdl");
        if (!model && !HasExt3(name, "wok")) return;
        const std::string base = BaseName4(name);
        if (!model && (paired_.count(name) || leftAlone_.IndexOf(base) >= 0)) return;
        std::vector<std::string> unit{name};
        if (auto it = walkmeshOf_.find(name); model && it != walkmeshOf_.end()) unit.push_back(it->second);
        if (RenameTogether(unit)) return;
        leftAlone_.Add(base);
    }

    // The models of the folder that name a texture the run renamed are made to name its new
    // file, whether or not the run renamed them and whatever everywhere says: otherwise they
    // would name a file that is gone. A model that cannot be made to is named in the log.
    void FollowRenamedTextures()
    {
        if (textures_.empty()) return;
        StringList files;
        ListAssetFiles(dir_, &files);
        for (const std::string& name : files) {
            if (!HasExt3(name, "mdl") || rewrittenWhole_.count(name)) continue;
            const std::string path = JoinPath(dir_, name);
            std::string bytes, out;
            if (!ReadWholeFile(path, bytes)) {
                Log(name + " ---> Cannot be read, not checked for the renamed textures");
                continue;
            }
            std::vector<std::size_t> named;   // the renamed textures the model names
            if (IsBinaryModel(bytes)) {
                // Its names lie in fields of a fixed size: it is never rewritten here.
                const std::string lower = LowerAscii(bytes);
                for (std::size_t i = 0; i < textures_.size(); ++i)
                    if (HoldsWord(lower, LowerAscii(textures_[i].from))) named.push_back(i);
                if (!named.empty()) Log(name + " ---> Non ascii file, still names " + Named(named));
                continue;
            }
            const int lines = RenameBitmapNames(
                bytes,
                [&](std::string_view texture) -> const std::string* {
                    const auto it = textureByName_.find(LowerAscii(texture));
                    if (it == textureByName_.end()) return nullptr;
                    if (std::find(named.begin(), named.end(), it->second) == named.end()) named.push_back(it->second);
                    return &textures_[it->second].to;
                },
                out);
            if (lines == 0) continue;
            std::error_code ec;
            if (!CanReadWrite(path))
                Log(name + " ---> Cannot be opened for reading and writing, still names " + Named(named));
            else if (!WriteFileAtomic(path, out, &ec))
                Log(name + " ---> Cannot be rewritten (" + PlainWords(ec) + "), still names " + Named(named));
            else
                Log(name + " ---> " + IntToStr(lines) + (lines == 1 ? " bitmap line changed" : " bitmap lines changed"));
        }
    }

private:
    struct TileFiles {
        CTile* tile;
        std::string model, walkmesh;   // listed names, empty when not in the folder
        bool moved = false;
    };

    struct Texture {
        std::string from, to;   // base names
    };

    std::string NewName(const std::string& name) const { return OverwritePrefix(name, old_.size(), new_); }

    std::string Failed(const std::string& name, const std::string& why) const
    {
        return "FAILED : " + name + " --> " + NewName(name) + " (" + why + ")";
    }

    // A texture file renamed: its base name is what models name.
    void TextureRenamed(const std::string& name)
    {
        Texture t{BaseName4(name), BaseName4(NewName(name))};
        // A change of letter case alone leaves the models naming the file.
        if (LowerAscii(t.from) == LowerAscii(t.to) || textureByName_.count(LowerAscii(t.from))) return;
        textureByName_.emplace(LowerAscii(t.from), textures_.size());
        textures_.push_back(std::move(t));
    }

    std::string Named(const std::vector<std::size_t>& named) const
    {
        std::string text;
        for (std::size_t i : named)
            text += (text.empty() ? "" : ", ") + textures_[i].from + " (now " + textures_[i].to + ")";
        return text;
    }

    void Log(const std::string& line)
    {
        memo_.AddLine(line);
        memo_.AddLine(std::string(42, '-'));
    }

    // Gives each model the walkmesh of its base name: the one written alike first, then one
    // that differs in letter case alone. Each walkmesh goes with one model at most.
    void PairWalkmeshes()
    {
        std::unordered_map<std::string, std::vector<std::string>> walkmeshes;   // by base name in lower case
        for (const std::string& f : files_)
            if (HasExt3(f, "wok")) walkmeshes[LowerAscii(BaseName4(f))].push_back(f);
        for (bool exact : {true, false}) {
            for (const std::string& f : files_) {
                if (!HasExt3(f, "mdl") || walkmeshOf_.count(f)) continue;
                for (const std::string& w : walkmeshes[LowerAscii(BaseName4(f))]) {
                    if (paired_.count(w) || (exact && BaseName4(w) != BaseName4(f))) continue;
                    walkmeshOf_[f] = w;
                    paired_.insert(w);
                    break;
                }
            }
        }
    }

    // Renames a model with its walkmesh (or a walkmesh alone) and rewrites the prefix inside
    // them, and the tiles that use them follow; or leaves all of it as it was. Every check
    // and write that can fail comes before the first name changes.
    bool RenameTogether(const std::vector<std::string>& unit)
    {
        std::vector<std::unique_ptr<StagedFile>> staged(unit.size());
        // The model is named even when its walkmesh is what stops them. A line of its own
        // stands for the file's FAILED line, else the file's line says why.
        auto fail = [&](std::size_t i, const std::string& why, const std::string& line = {}) {
            if (i > 0) Log(Failed(unit[0], "its walkmesh " + unit[i] + " cannot be renamed with it"));
            Log(line.empty() ? Failed(unit[i], why) : line);
            return false;
        };
        for (std::size_t i = 0; i < unit.size(); ++i) {
            const std::string path = JoinPath(dir_, unit[i]);
            std::string bytes, out;
            if (!CanReadWrite(path) || !ReadWholeFile(path, bytes))
                return fail(i, {}, unit[i] + " ---> Cannot be opened for reading and writing, not renamed");
            if ((!everywhere_ && IsBinaryModel(bytes)) || CannotTake(bytes, old_, new_))
                return fail(i, {}, unit[i] + " ---> Non ascii file, not renamed");
            if (std::string why = folder_->Refusal(dir_, unit[i], NewName(unit[i])); !why.empty()) return fail(i, why);
            if (ReplacePrefixInBytes(bytes, old_, new_, everywhere_, out) == 0) continue;
            staged[i] = std::make_unique<StagedFile>(path, out);
            if (!staged[i]->Ready()) return fail(i, PlainWords(staged[i]->Error()));
        }
        std::size_t done = 0;
        auto undo = [&] {
            // Back under the names they had; the folder has just taken these names.
            while (done > 0) {
                --done;
                (void)folder_->Rename(dir_, NewName(unit[done]), unit[done]);
            }
        };
        for (; done < unit.size(); ++done) {
            if (std::string why = folder_->Rename(dir_, unit[done], NewName(unit[done])); !why.empty()) {
                const std::size_t failed = done;
                undo();
                return fail(failed, why);
            }
        }
        // Renames within the folder, like those that have just worked: a failure here is not
        // expected; the names go back at least.
        for (std::size_t i = 0; i < unit.size(); ++i) {
            if (staged[i] && !staged[i]->Commit(JoinPath(dir_, NewName(unit[i])))) {
                undo();
                return fail(i, PlainWords(staged[i]->Error()));
            }
        }
        for (const std::string& name : unit) Log("SUCESS : " + name + " --> " + NewName(name));
        renamed_ += int(unit.size());
        // Everywhere, the prefix of its texture names has already changed with the rest.
        if (everywhere_)
            for (const std::string& name : unit) rewrittenWhole_.insert(NewName(name));
        for (TileFiles& t : tiles_) {
            if (t.moved || std::find_if(unit.begin(), unit.end(), [&](const std::string& f) {
                               return f == t.model || f == t.walkmesh;
                           }) == unit.end())
                continue;
            SetTileModel(t.tile, OverwritePrefix(t.tile->Model, old_.size(), new_));
            t.moved = true;
        }
        return true;
    }

    const std::string old_, new_;
    const bool everywhere_, renameTextures_;
    const std::string dir_;
    LineSink& memo_;
    StringList files_;   // listed once, so renamed files are never met again
    std::optional<FolderNames> folder_;
    std::vector<TileFiles> tiles_;
    StringList leftAlone_;                    // base names of models that were not renamed
    std::unordered_map<std::string, std::string> walkmeshOf_;   // a model's walkmesh
    std::unordered_set<std::string> paired_;                    // walkmeshes handled with their model
    std::vector<Texture> textures_;                              // renamed, in the order they were
    std::unordered_map<std::string, std::size_t> textureByName_;   // by old base name in lower case
    std::unordered_set<std::string> rewrittenWhole_;             // renamed files, everywhere
    int renamed_ = 0;
};

}  // namespace

int RenameFilesPrefix(const std::string& oldPrefix, const std::string& newPrefix, bool everywhere,
                      bool renameTextures, ProgressSink& bar, LineSink& memo)
{
    PrefixRun run(oldPrefix, newPrefix, everywhere, renameTextures, memo);
    bar.SetMax(run.Files().Count());
    for (const std::string& name : run.Files()) {
        bar.StepIt();
        run.Handle(name);
    }
    run.FollowRenamedTextures();
    bar.SetPosition(0);
    if (CTile* first = TS().TileList.Head()) first->FillMainLists();
    return run.Renamed();
}
