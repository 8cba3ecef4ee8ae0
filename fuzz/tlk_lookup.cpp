// Opens the input as the game's talk table and looks up StrRefs around its entries and
// those the input itself names.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RunFolder.h"
#include "gamedata/GameData.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {

const std::string& Folder()
{
    // The settings file that names the run's folder as the game's is written once.
    static const std::string& f = [] () -> const std::string& {
        const std::string& dir = RunFolder("tlk");
        if (!WriteFileAtomic(dir + "/registry.ini", "[SOFTWARE\\BioWare\\NWN\\Neverwinter]\nLocation=" + dir + "\n")) std::abort();
        return dir;
    }();
    return f;
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
