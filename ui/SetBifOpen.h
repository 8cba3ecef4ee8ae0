#pragma once
// Picks a stock tileset out of the game's archives as the Import tab's source.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    QListWidget* ListBox1; // the archives' tileset names
    QPushButton* Button1;  // "Open"
    QPushButton* Button2;  // "Cancel"

    // Lists the names afresh each time the dialog shows.
    void FormShow();
    // Opens the selected tileset in the Import tab and closes; nothing without a selection.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TForm2* Form2;
