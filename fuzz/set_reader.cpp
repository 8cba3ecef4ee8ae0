// Feeds arbitrary bytes to the .set reader and the Import tab's reader. Whatever the main
// reader made of them must write out and read back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "model/Globfun.h"
#include "platform/Files.h"

namespace {

// The writer's text, through a file of this process that is removed again.
std::string writtenText()
{
    static const std::string path = "/tmp/fuzz-set-reader-" + std::to_string(getpid()) + ".set";
    if (TS().TileList.Count() > MaxSetTiles) return {};
    TextFile f;
    if (!f.Open(path, TextFile::Mode::Write)) std::abort();
    std::string error;
    if (!WriteSetFile(f, error)) std::abort();
    RemoveFile(path);
    return f.Written();
}

void readMain(const std::string& text)
{
    ResetAllModelData();
    TextFile f;
    f.OpenText(text);
    ReadSetFile(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    ResetAllModelData();
    TextFile import;
    import.OpenText(input);
    ReadImportSet(import);

    readMain(input);
    const std::string first = writtenText();
    if (first.empty()) return 0;
    readMain(first);
    if (writtenText() != first) std::abort();
    ResetAllModelData();
    return 0;
}
