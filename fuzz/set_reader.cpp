// Feeds arbitrary bytes to the .set reader and the Import tab's reader. Whatever the main
// reader made of them must write out and read back to the same text, and what the readers
// note must name lines of the input, in order, each with a text.
#include <algorithm>
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
