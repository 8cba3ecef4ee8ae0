// Copies, deletions and the missing-file report for the tiles' asset files.
#include "gamedata/Filefun.h"

#include <filesystem>
#include <sstream>
#include <unistd.h>
#include <unordered_set>

#include "gamedata/FilefunInternal.h"
#include "gamedata/GameData.h"
#include "model/Tileset.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Stream.h"
#include "platform/Text.h"

namespace filefun {

bool ListFolder(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    if (folder.empty() || !IsDirectory(folder) || ::access(folder.c_str(), R_OK | X_OK) != 0) return false;
    names = ListFiles(folder);
    return true;
}

std::optional<std::string> FindFile(const std::string& folder, std::string_view name)
{
    if (folder.empty()) return std::nullopt;
    return FindNoCase(folder, name);
}

std::string ResolveFile(const std::string& path)
{
    return FindNoCase(ParentFolder(path), FileNameOf(path)).value_or(std::string());
}

bool CanReadWrite(const std::string& path)
{
    if (!FileExists(path)) return false;
    try {
        FileStream probe(path, FileStream::Mode::OpenReadWrite);
        return true;
    } catch (const StreamError&) {
        return false;
    }
}

bool IsBinaryModel(std::string_view bytes)
{
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0;
}

bool HasExt3(std::string_view name, std::string_view ext)
{
    return EqualsNoCase(GetExtension3(name), ext);
}

std::string BaseName4(std::string_view name)
{
    return name.size() < 4 ? std::string() : std::string(name.substr(0, name.size() - 4));
}

bool CopyInto(const std::string& src, const std::string& folder, const std::string& name)
{
    // On a disk that tells letter cases apart, "A.MDL" and "a.mdl" are two files; the
    // tileset must never get a second copy of a file it already holds.
    const auto target = folder.empty() ? std::nullopt : JoinFileName(folder, name);
    if (!target || FindFile(folder, name)) return false;
    return CopyNoOverwrite(src, *target);
}

}  // namespace filefun

using namespace filefun;

namespace {

enum Kind { KindMdl, KindWok, KindTga };

const char* const FileLogIndent = "\n   ";

// True when the listed entry is the file name names. A name that could lead out of the
// folder names none of its files, so it is treated as a file that is not there.
bool IsEntryNamed(const std::string& entry, const std::string& name)
{
    return IsPlainFileName(name) && EqualsNoCase(entry, name);
}

// A listed ".tga" or ".dds" file that a texture name can name.
bool IsTextureFile(const std::string& entry)
{
    return IsPlainFileName(entry) && entry.size() >= 4 && (HasExt3(entry, "tga") || HasExt3(entry, "dds"));
}

// Asks a file question; Yes to all switches the asking off for the rest of the call.
// True when the file is to be handled.
bool AskFile(bool& ask, const std::string& text, bool* askEachFile = nullptr)
{
    if (!ask) return true;
    switch (AppDialogs().Message(MsgKind::Confirmation, text, MsgButtons::YesNoYesToAll)) {
    case MsgResult::Yes:
        if (askEachFile) *askEachFile = true;
        return true;
    case MsgResult::YesToAll:
        if (askEachFile) *askEachFile = false;
        ask = false;
        return true;
    default:
        return false;
    }
}

// The copy questions, each after the name of what was found.
const char* const MdlFoundQuestion = ".MDL file found, try to copy it ?\n NOTE : the file will not be copied if already exist";
const char* const WokFoundQuestion = ".WOK file found, try to copy it ?\n NOTE : the file will not be copied if already exist";
const char* const TgaFoundQuestion = ".TGA file found, try to copy it ?\n NOTE : the file will not be copied if already exist";
const char* const FileFoundQuestion = " file found, try to copy it ?\n NOTE : the file will not be copied if already exist";

std::string CopyQuestion(const std::string& owner, const char* question)
{
    return owner + question;
}

}  // namespace

int DeleteTileFiles(const CTile* tile, bool ask, TileDeleteReport& report, MinimapPickList& minimaps)
{
    const std::string& dir = Game().SetDir;
    std::vector<std::string> entries;
    if (!ListFolder(dir, entries)) return -1;
    if (!tile) return 0;

    const std::string names[3] = {tile->Model + ".mdl", tile->Model + ".wok", tile->ImageMap2D + ".tga"};
    const std::string questions[3] = {
        tile->Model + ".MDL file found, delete it ?",
        tile->Model + ".WOK file found, delete it ?",
        tile->ImageMap2D + ".TGA file found, delete it ?(not used by another tile)",
    };
    bool done[3] = {false, false, false};
    int deleted = 0;

    for (const std::string& entry : entries) {
        if (done[KindMdl] && done[KindWok] && done[KindTga]) break;
        for (Kind kind : {KindWok, KindMdl, KindTga}) {
            if (done[kind] || !IsEntryNamed(entry, names[kind])) continue;
            done[kind] = true;
            const std::string& field = kind == KindTga ? tile->ImageMap2D : tile->Model;
            bool shared = false;
            for (const CTile* other : TS().TileList) {
                if (other != tile && EqualsNoCase(kind == KindTga ? other->ImageMap2D : other->Model, field)) {
                    shared = true;
                    break;
                }
            }
            if (shared || !AskFile(ask, questions[kind])) break;
            // Only a file that is really gone is reported as deleted.
            if (RemoveFile(JoinPath(dir, entry))) {
                ++deleted;
                report.DeletedFiles += FileLogIndent + names[kind];
                if (kind == KindTga && minimaps.HasMinimapName(tile->ImageMap2D))
                    minimaps.RemoveMinimapName(tile->ImageMap2D);
            }
            break;
        }
    }

    for (Kind kind : {KindMdl, KindWok, KindTga}) {
        if (done[kind]) continue;
        if (kind == KindTga && Game().BifResList.HasMinimap(tile->ImageMap2D)) continue;
        ++report.MissingFileCount;
        report.MissingFiles += FileLogIndent + names[kind];
    }
    report.DeletedFileCount += deleted;
    return deleted;
}

int CopyImportTileFiles(int importTileIndex, const std::string& minimapName, bool ask,
                        const std::string& importSetDir, ImportCopyReport& report,
                        MinimapPickList& minimaps)
{
    const CTile* tile = TS().ImportTiles.At(importTileIndex);
    if (!tile) return 0;
    GameData& game = Game();
    CBifResList& archives = game.BifResList;
    const std::string model = tile->Model;
    const std::string names[3] = {model + ".mdl", model + ".wok", minimapName + ".tga"};
    const std::string questions[3] = {
        CopyQuestion(model, MdlFoundQuestion),
        CopyQuestion(model, WokFoundQuestion),
        CopyQuestion(minimapName, TgaFoundQuestion),
    };
    bool done[3] = {false, false, false};
    // Held by the archives but not got out of them: reported with the files not found.
    bool notExtracted[3] = {false, false, false};
    // A name that is no plain file name is never looked for: it is reported as not found.
    const bool plain[3] = {IsPlainFileName(names[KindMdl]), IsPlainFileName(names[KindWok]),
                           IsPlainFileName(names[KindTga])};
    int copied = 0;

    auto copiedOne = [&](Kind kind) {
        if (kind == KindMdl && game.AutoConvertMdl) RunModelConverter(JoinPath(game.SetDir, names[kind]));
        report.FilesCopiedText += FileLogIndent + names[kind];
        ++copied;
    };

    if (importSetDir == ArchiveSourceMarker) {
        // The marker names no folder: the files come out of the game archives.
        for (Kind kind : {KindMdl, KindWok, KindTga}) {
            bool held = kind == KindMdl   ? archives.HasMdl(model)
                        : kind == KindWok ? archives.HasWok(model)
                                          : archives.HasMinimap(minimapName);
            if (!held || !plain[kind]) continue;
            bool go = AskFile(ask, questions[kind], &report.AskEachFile);
            done[kind] = true;
            if (!go) continue;
            int extracted = kind == KindMdl   ? archives.ExtractMdl(model)
                            : kind == KindWok ? archives.ExtractWok(model)
                                              : archives.ExtractMinimap(minimapName);
            if (extracted != 0) {
                notExtracted[kind] = true;
                done[kind] = false;
            } else if (CopyInto(game.TempFilePath, game.SetDir, names[kind])) copiedOne(kind);
        }
        RemoveFile(game.TempFilePath);
    } else if (std::vector<std::string> entries; ListFolder(importSetDir, entries)) {
        for (const std::string& entry : entries) {
            if (done[KindMdl] && done[KindWok] && done[KindTga]) break;
            for (Kind kind : {KindWok, KindMdl, KindTga}) {
                if (done[kind] || !IsEntryNamed(entry, names[kind])) continue;
                bool go = AskFile(ask, questions[kind], &report.AskEachFile);
                done[kind] = true;
                if (!go) break;
                if (kind == KindTga && !minimaps.HasMinimapName(minimapName)) minimaps.AddMinimapName(minimapName);
                if (!CopyInto(JoinPath(importSetDir, entry), game.SetDir, names[kind])) break;
                copiedOne(kind);
                // Scanned after the converter has finished, so a converted model is read as text.
                if (kind == KindMdl) CollectMdlTextures(model, report.ImportTextures, true);
                break;
            }
        }
    }

    for (Kind kind : {KindMdl, KindWok, KindTga}) {
        if (done[kind]) continue;
        if (kind == KindTga && plain[kind] && !notExtracted[kind] && archives.HasMinimap(minimapName)) continue;
        ++report.FilesNotFoundCount;
        report.FilesNotFoundText += FileLogIndent + names[kind];
    }
    return copied;
}

int CopyImportTextures(const StringList* textures, bool ask, const std::string& importSetDir,
                       ImportCopyReport& report)
{
    if (!textures) return -1;
    if (textures->Empty() || importSetDir == ArchiveSourceMarker) return 0;
    std::vector<std::string> entries;
    if (!ListFolder(importSetDir, entries)) return 0;
    int copied = 0;
    for (const std::string& entry : entries) {
        if (!IsTextureFile(entry) || textures->IndexOf(BaseName4(entry)) < 0) continue;
        if (!AskFile(ask, CopyQuestion(entry, FileFoundQuestion), &report.AskEachFile)) continue;
        if (CopyInto(JoinPath(importSetDir, entry), Game().SetDir, entry)) {
            report.FilesCopiedText += FileLogIndent + entry;
            ++copied;
        }
    }
    return copied;
}

void ReportMissingFiles(bool mdl, bool wok, bool minimap, bool textures, bool countGameFiles,
                        ProgressSink& bar, LineSink& memo)
{
    const CPtrList<CTile>& tiles = TS().TileList;
    const std::string& dir = Game().SetDir;
    const CBifResList& archives = Game().BifResList;
    const std::string dashes(67, '-');

    StringList collected;
    if (textures) {
        bar.SetMax(2 * tiles.lastIndex());
        CollectAllTileTextures(&collected, bar, countGameFiles);
    } else {
        bar.SetMax(tiles.lastIndex());
    }

    // A folder that cannot be listed holds none of the files.
    std::vector<std::string> entries;
    ListFolder(dir, entries);
    std::unordered_set<std::string> present;
    for (const auto& e : entries) present.insert(LowerAscii(e));
    auto inFolder = [&](const std::string& name) {
        return IsPlainFileName(name) && present.count(LowerAscii(name)) != 0;
    };

    int missing = 0;
    int n = 0;
    for (const CTile* tile : tiles) {
        bar.StepIt();
        const std::string head = "Tile#" + IntToStr(n) + " - " + UpperAscii(tile->Model);
        bool any = false;
        auto report = [&](const std::string& line) {
            memo.AddLine(head + line);
            ++missing;
            any = true;
        };
        if (mdl && !inFolder(tile->Model + ".mdl") && (countGameFiles || !archives.HasMdl(tile->Model)))
            report(" ----> .MDL : not found");
        if (wok && !inFolder(tile->Model + ".wok") && (countGameFiles || !archives.HasWok(tile->Model)))
            report(" ----> .WOK : not found");
        if (minimap && !inFolder(tile->ImageMap2D + ".tga") &&
            (countGameFiles || !archives.HasMinimap(tile->ImageMap2D)))
            report(" ----> " + tile->ImageMap2D + ".TGA : not found");
        if (any) memo.AddLine(dashes);
        ++n;
    }

    if (textures) {
        ListFolder(dir, entries);
        for (const std::string& entry : entries) {
            if (!IsTextureFile(entry)) continue;
            for (int i = collected.IndexOf(BaseName4(entry)); i >= 0; i = collected.IndexOf(BaseName4(entry)))
                collected.Delete(i);
        }
        if (!collected.Empty()) {
            memo.AddLine(dashes);
            memo.AddLine("---TEXTURES REPORT-------------------------------------------------");
            for (const std::string& name : collected) {
                memo.AddLine(name + "----> TGA or DDS not found");
                memo.AddLine(dashes);
                ++missing;
            }
        }
    }

    bar.SetPosition(0);
    memo.AddLine("---" + IntToStr(missing) + "- Files not found");
}

bool RunModelConverter(const std::string& modelPath, std::chrono::milliseconds timeLimit)
{
    const GameData& game = Game();
    if (game.MdlCompilerPath.empty()) return false;
    // The converter runs in the start folder, so it gets the model's full path.
    std::error_code ec;
    std::string path = std::filesystem::absolute(modelPath, ec).string();
    if (ec) path = modelPath;
    // The converter's parameters "-de %s %s" with the path given twice, as an argument vector
    // so that blanks in the path stay inside their argument.
    std::vector<std::string> args{game.MdlCompilerPath};
    std::istringstream words("-de %s %s");
    for (std::string word; words >> word;) args.push_back(word == "%s" ? path : word);
    return RunProcess(args, game.StartDir, timeLimit).Succeeded();
}
