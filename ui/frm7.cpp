#include "ui/frm7.h"

TFram7::TFram7(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram71");
}
