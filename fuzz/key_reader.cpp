// Reads the input as a key file into the archive index, then extracts every kept entry
// from the same bytes taken as an archive.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "RunFolder.h"
#include "gamedata/GameData.h"
#include "platform/Files.h"

namespace {

const std::string& Folder()
{
    const std::string& f = RunFolder("key");
    return f;
}

void Extract(GameData& gd, const CPtrList<_KeyEntry>& list)
{
    for (const _KeyEntry* e : list) {
        _KeyEntry copy = *e;
        copy.BifName = "fuzz.bif";
        gd.BifResList.ExtractToTemp(&copy);
        gd.BifResList.ExtractToTemp(e);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string key = JoinPath(Folder(), "chitin.key");
    if (!WriteFileAtomic(key, bytes) || !WriteFileAtomic(JoinPath(Folder(), "fuzz.bif"), bytes)) std::abort();

    GameData gd;
    gd.GameDir = Folder();
    gd.TempFilePath = JoinPath(Folder(), "MMTEMP.TGA");
    gd.BifResList.ReadKeyFile(key);
    const CBifResList& idx = gd.BifResList;
    if (idx.MdlNames().Count() != idx.MdlEntries().Count() || idx.SetNames().Count() != idx.SetEntries().Count() ||
        idx.TgaNames().Count() != idx.TgaEntries().Count() || idx.WokNames().Count() != idx.WokEntries().Count() ||
        idx.MinimapNames().Count() != idx.MinimapEntries().Count())
        std::abort();
    for (const _KeyEntry* e : idx.MdlEntries())
        if (e->ResRef.size() > 16 || e->ResIndex < 0 || e->ResIndex > 0x3FFF || e->BifIndex >= idx.BifNames().Count())
            std::abort();
    Extract(gd, idx.MinimapEntries());
    Extract(gd, idx.SetEntries());
    Extract(gd, idx.MdlEntries());
    Extract(gd, idx.WokEntries());
    Extract(gd, idx.TgaEntries());
    RemoveFile(gd.TempFilePath);
    return 0;
}
