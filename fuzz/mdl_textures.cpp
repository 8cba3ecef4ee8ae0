// Reads the input as a tile model: collects its texture names, renames one of them and
// rewrites a prefix inside it, checking that each result agrees with the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RunFolder.h"
#include "gamedata/Filefun.h"
#include "gamedata/GameData.h"
#include "platform/Files.h"

namespace {

const std::string& Folder()
{
    const std::string& f = RunFolder("mdl");
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = JoinPath(Folder(), "m.mdl");
    if (!WriteFileAtomic(path, bytes)) std::abort();
    Game().SetDir = Folder();

    StringList names;
    int n = CollectMdlTextures("m", names, true);
    if (n != -1 && n != names.Count()) std::abort();
    for (const auto& name : names)
        if (name.empty() || bytes.find(name) == std::string::npos) std::abort();

    const std::string oldName = names.Empty() ? std::string("a") : names[0];
    int replaced = ReplaceTextureInMdl(path, oldName, "bb");
    std::string after;
    if (!ReadWholeFile(path, after)) std::abort();
    if (after.size() != bytes.size() + std::size_t(replaced) * 2 - std::size_t(replaced) * oldName.size())
        std::abort();

    // A file with a NUL byte is binary: a prefix of another length never goes in.
    bool binary = after.find('\0') != std::string::npos;
    int prefixes = ReplacePrefixInFile(path, "bb", "xyz", true);
    std::string last;
    if (!ReadWholeFile(path, last)) std::abort();
    if (binary && (prefixes != 0 || last != after)) std::abort();
    if (last.size() != after.size() + std::size_t(prefixes)) std::abort();
    return 0;
}
