#include "gamedata/GameData.h"

#include <cstdlib>
#include <memory>

#include "platform/ByteIO.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/PathNoCase.h"
#include "platform/Registry.h"

GameData::GameData() = default;

GameData::~GameData()
{
    if (tlkFile_) std::fclose(tlkFile_);
    removePrivateTemp();
}

void GameData::removePrivateTemp()
{
    if (privateTemp_.empty()) return;
    RemoveFile(JoinPath(privateTemp_, "MMTEMP.TGA"));
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
    TempFilePath = folder.empty() ? std::string() : JoinPath(folder, "MMTEMP.TGA");
    MdlCompilerPath = JoinPath(StartDir, "nwnmdlcomp.exe");
    if (std::FILE* f = std::fopen(MdlCompilerPath.c_str(), "rb"); f && !IsDirectory(MdlCompilerPath))
        std::fclose(f);
    else {
        if (f) std::fclose(f);
        MdlCompilerPath.clear();
    }
}

// Reads exactly n bytes at offset; false on any failure.
static bool readAt(std::FILE* f, uint64_t offset, void* out, std::size_t n)
{
    if (offset > uint64_t(INT64_MAX)) return false;
    if (fseeko(f, off_t(offset), SEEK_SET) != 0) return false;
    return n == 0 || std::fread(out, 1, n, f) == n;
}

bool GameData::openTlk(const std::string& path)
{
    if (IsDirectory(path)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    // A table whose header cannot be read counts as one that cannot be opened.
    uint8_t header[8];
    auto size = FileSize(path);
    if (!size || !readAt(f, 12, header, sizeof header)) {
        std::fclose(f);
        return false;
    }
    ByteReader r(header, sizeof header);
    TlkStringCount = r.U32LE();
    TlkStringEntriesOffset = r.U32LE();
    tlkFile_ = f;
    tlkSize_ = uint64_t(*size);
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
    for (const char* name : {"DialogF.tlk", "Dialog.tlk"}) {
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
    // bytes into it.
    uint64_t at = 40 * uint64_t(strref) + 48;
    uint8_t fields[8];
    if (at + sizeof fields > tlkSize_ || !readAt(tlkFile_, at, fields, sizeof fields)) return bad;
    ByteReader r(fields, sizeof fields);
    uint32_t offset = r.U32LE();
    uint32_t size = r.U32LE();

    uint64_t start = uint64_t(TlkStringEntriesOffset) + offset;
    if (start > tlkSize_ || size > tlkSize_ - start) return bad;
    std::string text(size, '\0');
    if (!readAt(tlkFile_, start, text.data(), size)) return bad;
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
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
