#include "ui/Options.h"

#include "platform/Registry.h"
#include "ui/frm4.h"
#include "ui/frm6.h"
#include "ui/mainfrm.h"

namespace {
const char* const OptionsKey = "SOFTWARE\\Tilvenna";

void readFlag(const Registry& reg, const char* name, bool& flag)
{
    if (auto v = reg.ReadBool(name)) flag = *v;
}
}

void LoadOptions()
{
    Registry reg;
    if (!reg.OpenKey(OptionsKey, false)) return;
    TFram6& import = *Form1->Fram61;
    TFram4& tiles = *Form1->Fram41;
    readFlag(reg, "NeverCopy", import.NeverCopy);
    readFlag(reg, "NeverCopyConf", import.NeverCopyConf);
    readFlag(reg, "NeverConfOnAllImport", import.NeverConfOnAllImport);
    readFlag(reg, "NeverDelete", tiles.NeverDelete);
    readFlag(reg, "NeverDeleteConf", tiles.NeverDeleteConf);
    readFlag(reg, "NeverConfOnAllDelete", tiles.NeverConfOnAllDelete);
    readFlag(reg, "NeverCheckDuplicate", import.NeverCheckDuplicate);
    reg.CloseKey();
}

void SaveOptions()
{
    Registry reg;
    if (!reg.OpenKey(OptionsKey, true)) return;
    const TFram6& import = *Form1->Fram61;
    const TFram4& tiles = *Form1->Fram41;
    // The store collects the values and writes its file once, whole, or not at all.
    const bool collected = reg.WriteBool("NeverCopy", import.NeverCopy) &&
                           reg.WriteBool("NeverCopyConf", import.NeverCopyConf) &&
                           reg.WriteBool("NeverConfOnAllImport", import.NeverConfOnAllImport) &&
                           reg.WriteBool("NeverCheckDuplicate", import.NeverCheckDuplicate) &&
                           reg.WriteBool("NeverDelete", tiles.NeverDelete) &&
                           reg.WriteBool("NeverDeleteConf", tiles.NeverDeleteConf) &&
                           reg.WriteBool("NeverConfOnAllDelete", tiles.NeverConfOnAllDelete);
    // As with a key that cannot be opened, a file that cannot be written goes without a message.
    if (!collected || !reg.Flush()) return;
    reg.CloseKey();
}
