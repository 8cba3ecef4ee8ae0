#pragma once
// A chart of the path-node letters and their shapes, shown beside the editor.
#include <QDialog>
#include <QPushButton>

#include "ui/ImageView.h"

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    TImage* Image1;       // the chart
    QPushButton* Button1; // "Close"

    void Button1Click();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TForm4* Form4;
