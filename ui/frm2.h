#pragma once
// The "Terrain / Crosser" tab: the terrain and crosser lists.
#include <QWidget>

class TFram2 : public QWidget {
    Q_OBJECT
public:
    explicit TFram2(QWidget* parent = nullptr);
};
