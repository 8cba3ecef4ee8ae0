#pragma once
// The "Import Tiles/Groups" tab: a second tileset whose tiles and groups are imported.
#include <QWidget>
#include <string>

class TFram6 : public QWidget {
    Q_OBJECT
public:
    explicit TFram6(QWidget* parent = nullptr);

    // Options; all but the last are kept in the settings store.
    bool NeverCopy = false;             // importing never copies the tiles' files
    bool NeverCopyConf = false;         // copying asks no confirmation
    bool NeverConfOnAllImport = false;  // importing all displayed entries asks nothing
    bool NeverCheckDuplicate = false;   // no duplicate-model or duplicate-name question
    bool NeverConfOnGroupTiles = true;  // a group's member tiles come without asking

    // The main tileset's folder, as Open and Save give it.
    std::string CurrentSetDir;
};
