// Feeds arbitrary bytes to the .set reader and the Import tab's reader. Whatever the main
// reader made of them must write out and read back to the same text, and what the readers
// note must name lines of the input, in order, each with a text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/Globfun.h"

namespace {

// The writer's text, written in memory: a file on disk would cost a sync each run.
std::string writtenText()
{
    if (TS().TileList.Count() > MaxSetTiles) return {};
    return SetFileText();
}

void checkFindings(const SetFindings& findings, const std::string& text)
{
    const long lines = long(std::count(text.begin(), text.end(), '\n')) + (text.ends_with('\n') ? 0 : 1);
    long last = 1;
    for (const SetFinding& f : findings) {
        if (f.line < last || f.line > lines || f.text.empty()) std::abort();
        last = f.line;
    }
}

void readMain(const std::string& text)
{
    ResetAllModelData();
    TextFile f;
    f.OpenText(text);
    checkFindings(ReadSetFile(f), text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    ResetAllModelData();
    TextFile import;
    import.OpenText(input);
    checkFindings(ReadImportSet(import), input);
    CheckSetText(input);

    readMain(input);
    const std::string first = writtenText();
    if (first.empty()) return 0;
    readMain(first);
    if (writtenText() != first) std::abort();
    ResetAllModelData();
    return 0;
}
