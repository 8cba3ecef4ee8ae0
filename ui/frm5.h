#pragma once
// The "Groups" tab: the group list.
#include <QWidget>

class TFram5 : public QWidget {
    Q_OBJECT
public:
    explicit TFram5(QWidget* parent = nullptr);
};
