#pragma once
// The "Import Tiles/Groups" tab: a second tileset whose tiles and groups are imported.
#include <QWidget>
#include <string>

class TFram6 : public QWidget {
    Q_OBJECT
public:
    explicit TFram6(QWidget* parent = nullptr);

    // The main tileset's folder, as Open and Save give it.
    std::string CurrentSetDir;
};
