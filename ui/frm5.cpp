#include "ui/frm5.h"

TFram5::TFram5(QWidget* parent) : QWidget(parent)
{
    setObjectName("Fram51");
}
