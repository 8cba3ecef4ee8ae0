#include "ui/EditorViews.h"

#include "ui/frm1.h"
#include "ui/mainfrm.h"

void EditorViews::FillGeneral(CGeneral& general)
{
    Form1->Fram11->ShowGeneral(general);
}

void EditorViews::ReadGeneralFromFrame(CGeneral& general)
{
    Form1->Fram11->ReadGeneral(general);
}
