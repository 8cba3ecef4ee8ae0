#include "gamedata/GameData.h"

#include <cstdlib>
#include <memory>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/PathNoCase.h"
#include "platform/Registry.h"
#include "platform/Stream.h"

GameData::GameData() = default;

GameData::~GameData()
{
    removePrivateTemp();
}

void GameData::removePrivateTemp()
{
    if (privateTemp_.empty()) return;
    RemoveFile(JoinPath(privateTemp_, "\\MMTEMP.TGA"));
    RemoveFile(privateTemp_);
    privateTemp_.clear();
}

void GameData::SetStartFolder(const std::string& dir)
{
    StartDir = dir;
    removePrivateTemp();
    std::string folder = WritableFolderOr(StartDir);
    if (folder != StartDir) {
        // Anyone may create files in the shared temporary folder: a MMTEMP.TGA planted there
        // (a link to one of the user's files) would be written through. A folder only we can
        // enter avoids that; without one, extractions fail rather than take the risk.
        std::string own = JoinPath(folder, "tilvenna-XXXXXX");
        if (mkdtemp(own.data())) privateTemp_ = own;
        folder = privateTemp_;
    }
    TempFilePath = folder.empty() ? std::string() : JoinPath(folder, "\\MMTEMP.TGA");
    MdlCompilerPath = JoinPath(StartDir, "\\nwnmdlcomp.exe");
    try {
        FileStream probe(MdlCompilerPath, FileStream::Mode::OpenRead);
    } catch (const StreamError&) {
        MdlCompilerPath.clear();
    }
}

bool GameData::openTlk(const std::string& path)
{
    // A table whose header cannot be read counts as one that cannot be opened.
    try {
        auto file = std::make_unique<FileStream>(path, FileStream::Mode::OpenRead);
        file->SetPosition(12);
        TlkStringCount = file->U32LE();
        TlkStringEntriesOffset = file->U32LE();
        TlkFile = std::move(file);
    } catch (const IoError&) {
        return false;
    }
    TlkPath = path;
    TlkOpen = true;
    return true;
}

void GameData::LocateGameAndOpenTlk(Registry& registry)
{
    if (TlkOpen) return;
    GameDir.clear();
    if (registry.OpenKey("SOFTWARE\\BioWare\\NWN\\Neverwinter", false)) {
        if (auto location = registry.ReadString("Location")) GameDir = *location;
        registry.CloseKey();
    }
    if (GameDir.empty()) {
        AppDialogs().Notice("NWN main directory not found in registry");
        return;
    }
    for (const char* name : {"\\DialogF.tlk", "\\Dialog.tlk"}) {
        if (auto path = ResolveNoCase(GameDir, name); path && openTlk(*path)) return;
    }
}

void GameData::LocateGameAndOpenTlk()
{
    Registry registry;
    LocateGameAndOpenTlk(registry);
}

std::string GameData::FindStrRefText(int strref)
{
    static const std::string bad = "Bad strref";
    if (!TlkOpen || strref < 1 || uint32_t(strref) >= TlkStringCount) return bad;

    // Entry strref starts at 20 + 40 * strref; its OffsetToString and StringSize lie 28
    // bytes into it. A text the file does not hold whole is refused before it is allocated.
    try {
        TlkFile->SetPosition(40 * uint64_t(strref) + 48);
        const uint32_t offset = TlkFile->U32LE();
        const uint32_t size = TlkFile->U32LE();
        TlkFile->SetPosition(uint64_t(TlkStringEntriesOffset) + offset);
        std::string text = TlkFile->ReadString(size);
        if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        return text;
    } catch (const IoError&) {
        return bad;
    }
}

static std::unique_ptr<GameData>& instance()
{
    static std::unique_ptr<GameData> game = std::make_unique<GameData>();
    return game;
}

GameData& Game()
{
    return *instance();
}

void ResetGameData()
{
    instance() = std::make_unique<GameData>();
}

void LocateGameAndOpenTlk()
{
    Game().LocateGameAndOpenTlk();
}

std::string FindStrRefText(int strref)
{
    return Game().FindStrRefText(strref);
}
