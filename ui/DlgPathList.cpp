#include "ui/DlgPathList.h"

#include "ui/App.h"
#include "ui/DialogWindow.h"
#include "ui/Widgets.h"
#include "ui/frm4Pictures.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    const QSize chart = PathNodeChartSize();
    SetUpDialogWindow(this, "Form4", "Path Node List", chart.width() + 16, chart.height() + 56);
    Image1 = new TImage(this, "Image1");
    Image1->setGeometry(8, 8, chart.width(), chart.height());
    Button1 = MakeNamed<QPushButton>(this, "Button1", "Close");
    Button1->setGeometry(width() - 98, height() - 38, 90, 28);
    connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
}

void TForm4::Button1Click()
{
    close();
}

void TForm4::showEvent(QShowEvent* e)
{
    // Drawn the first time it is shown, not at start-up.
    if (Image1->Image().isNull()) Image1->ShowImage(PathNodeChart());
    QDialog::showEvent(e);
}
