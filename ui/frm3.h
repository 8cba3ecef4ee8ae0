#pragma once
// The "Rules" tab: the primary and secondary rule lists.
#include <QWidget>

class TFram3 : public QWidget {
    Q_OBJECT
public:
    explicit TFram3(QWidget* parent = nullptr);
};
