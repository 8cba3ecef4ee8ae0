#include "ui/Options.h"

#include <utility>

#include "platform/Registry.h"

namespace {
const char* const OptionsKey = "SOFTWARE\\Tilvenna";

// The stored flags, in the order they are written. The store reads them by name, so the
// order of reading does not matter.
const std::pair<const char*, bool EditorOptions::*> StoredFlags[] = {
    {"NeverCopy", &EditorOptions::NeverCopy},
    {"NeverCopyConf", &EditorOptions::NeverCopyConf},
    {"NeverConfOnAllImport", &EditorOptions::NeverConfOnAllImport},
    {"NeverCheckDuplicate", &EditorOptions::NeverCheckDuplicate},
    {"NeverDelete", &EditorOptions::NeverDelete},
    {"NeverDeleteConf", &EditorOptions::NeverDeleteConf},
    {"NeverConfOnAllDelete", &EditorOptions::NeverConfOnAllDelete},
};
}

void LoadOptions(EditorOptions& options)
{
    Registry reg;
    if (!reg.OpenKey(OptionsKey, false)) return;
    for (auto [name, flag] : StoredFlags)
        if (auto v = reg.ReadBool(name)) options.*flag = *v;
    reg.CloseKey();
}

void SaveOptions(const EditorOptions& options)
{
    Registry reg;
    if (!reg.OpenKey(OptionsKey, true)) return;
    // The store collects the values and writes its file once, whole, or not at all. As with
    // a key that cannot be opened, a file that cannot be written goes without a message.
    for (auto [name, flag] : StoredFlags)
        if (!reg.WriteBool(name, options.*flag)) return;
    if (!reg.Flush()) return;
    reg.CloseKey();
}
