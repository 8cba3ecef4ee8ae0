#pragma once
// The Options dialog: shows the editor's options (the main window's Options) and changes
// them on OK. It never stores them; the main window does that when it closes.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    QPushButton* Button1;
    QPushButton* Button2;
    QGroupBox* GroupBox2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox6;
    QGroupBox* GroupBox3;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox5;

    void FormShow();
    void Button1Click();
    void Button2Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();

protected:
    void showEvent(QShowEvent* e) override;
};

extern TForm3* Form3;
