#pragma once
// The "Files/Textures" tab: the tileset's asset files and textures.
#include <QWidget>
#include <string>

class TFram7 : public QWidget {
    Q_OBJECT
public:
    explicit TFram7(QWidget* parent = nullptr);

    // The tileset's folder, as Open and Save give it.
    std::string CurrentSetDir;
};
