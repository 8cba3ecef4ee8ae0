// "See textures" of the Tiles tab's popup: the selected tile's textures on the
// Files/Textures tab.
#include "ui/frm4.h"
#include "ui/frm7.h"
#include "ui/mainfrm.h"

void TFram4::Seetextures1Click()
{
    if (auto n = ListView1->SelectedNumber()) Form1->Fram71->SeeTileTextures(*n);
}
