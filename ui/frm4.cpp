#include "ui/frm4.h"

TFram4::TFram4(QWidget* parent)
    : QWidget(parent), ComboBox17(MakeNamed<QComboBox>(this, "ComboBox17")), MiniMapList(ComboBox17)
{
    setObjectName("Fram41");
    MakeEditablePickList(ComboBox17);
    // Placed on the "General" page by the tile editor; until then it only holds the names.
    ComboBox17->hide();
}
