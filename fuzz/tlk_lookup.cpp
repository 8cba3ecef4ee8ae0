// Opens the input as the game's talk table and looks up StrRefs around its entries and
// those the input itself names.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gamedata/GameData.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {

// A folder of this run's files, removed when the program ends.
struct RunFolder {
    std::string path;
    ~RunFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::string& Folder()
{
    static const RunFolder folder{[] {
        std::string templ = WritableFolderOr("") + "/tilvenna-fuzz-tlk-XXXXXX";
        if (!mkdtemp(templ.data())) std::abort();
        WriteFileAtomic(templ + "/registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + templ + "\n");
        return templ;
    }()};
    return folder.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!WriteFileAtomic(JoinPath(Folder(), "dialog.tlk"), bytes)) std::abort();

    ScriptedDialogs dialogs;
    SetAppDialogs(&dialogs);
    GameData gd;
    Registry registry(JoinPath(Folder(), "registry.ini"));
    gd.LocateGameAndOpenTlk(registry);
    SetAppDialogs(nullptr);
    if (!gd.TlkOpen && size >= 20) std::abort();

    for (int strref = -1; strref < 40; ++strref) {
        std::string text = gd.FindStrRefText(strref);
        if (text != "Bad strref" && text.size() > size) std::abort();
    }
    // StrRefs taken from the input, so the fuzzer can steer them.
    for (size_t i = 0; i + 4 <= size && i < 64; i += 4) {
        int32_t v = int32_t(uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16 |
                            uint32_t(data[i + 3]) << 24);
        std::string text = gd.FindStrRefText(v);
        if (text != "Bad strref" && text.size() > size) std::abort();
    }
    return 0;
}
