#pragma once
// The main window: the general settings frame at the bottom and, once a tileset is open,
// the six tabs above it. It is the hub through which every frame reaches the others, and
// owns what they share: the options, the model's views and the wait for outside programs.
#include <optional>

#include <QTabWidget>
#include <QWidget>

#include "ui/Busy.h"
#include "ui/EditorViews.h"
#include "ui/Options.h"
#include "ui/Widgets.h"

class TFram1;
class TFram2;
class TFram3;
class TFram4;
class TFram5;
class TFram6;
class TFram7;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int WindowWidth = 850;
    static constexpr int EmptyHeight = 230;   // no tileset yet: the general frame alone
    static constexpr int EditingHeight = 690; // the tabs shown
    static constexpr int PageControlHeight = 525;

    TForm1();
    ~TForm1() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Terrain / Crosser"
    QWidget* TabSheet2; // "Tiles"
    QWidget* TabSheet3; // "Groups"
    QWidget* TabSheet4; // "Rules"
    QWidget* TabSheet5; // "Import Tiles/Groups"
    QWidget* TabSheet6; // "Files/Textures"
    TFram2* Fram21;
    TFram4* Fram41;
    TFram5* Fram51;
    TFram3* Fram31;
    TFram6* Fram61;
    TFram7* Fram71;
    TFram1* Fram11;

    // Loaded when the window is created, stored when it closes (when they were loaded).
    EditorOptions Options;

    void FormCreate();
    void FormClose();
    // The window keeps its width; its height is fixed at h.
    void SetWindowHeight(int h);
    // The views seam, for the hooks beyond the model's.
    EditorViews& Views() { return views_; }
    // The first editor, in the order of the tabs, that holds typed values it has not stored.
    std::optional<UnstoredValues> FindUnstoredValues() const;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QTabWidget* MakeNamedTabs();
    EditorViews views_{*this};
    GuiProcessWaiter waiter_;
    // Only options that were read are written back: after a failed start-up the defaults
    // would replace what the user had stored.
    bool optionsLoaded_ = false;
};

extern TForm1* Form1;
