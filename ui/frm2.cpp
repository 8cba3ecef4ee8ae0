#include "ui/frm2.h"

TFram2::TFram2(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram21");
}
