#pragma once
// The help text of the file prefix renamer.
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;   // "Close"

    void Button1Click();
};

extern TForm6* Form6;
