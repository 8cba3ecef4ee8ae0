#include "ui/frm6.h"

TFram6::TFram6(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram61");
}
