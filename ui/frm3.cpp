#include "ui/frm3.h"

TFram3::TFram3(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram31");
}
