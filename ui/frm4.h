#pragma once
// The "Tiles" tab: the tile list and the tile editor.
#include <QWidget>
#include <QComboBox>

#include "ui/Widgets.h"

class TFram4 : public QWidget {
    Q_OBJECT
public:
    explicit TFram4(QWidget* parent = nullptr);

    // "MiniMap": the minimap names found in the game's archives.
    QComboBox* ComboBox17;
    ComboPickList MiniMapList;
};
