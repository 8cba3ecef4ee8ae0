#include "ui/mainfrm.h"

#include <QCloseEvent>
#include <QVBoxLayout>
#include <clocale>
#include <filesystem>

#include "gamedata/GameData.h"
#include "ui/App.h"
#include "ui/Options.h"
#include "ui/frm1.h"
#include "ui/frm2.h"
#include "ui/frm3.h"
#include "ui/frm4.h"
#include "ui/frm5.h"
#include "ui/frm6.h"
#include "ui/frm7.h"

TForm1* Form1 = nullptr;

namespace {
template <class Frame>
Frame* addTab(QTabWidget* pages, QWidget*& sheet, const char* sheetName, const char* caption)
{
    sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(sheetName));
    auto* frame = new Frame(sheet);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    pages->addTab(sheet, QString::fromLatin1(caption));
    return frame;
}
}

TForm1::TForm1()
{
    // Frames built below reach the window through Form1.
    Form1 = this;
    setObjectName("Form1");
    setWindowTitle(QString::fromLatin1(AppTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    PageControl1 = MakeNamedTabs();
    Fram21 = addTab<TFram2>(PageControl1, TabSheet1, "TabSheet1", "Terrain / Crosser");
    Fram41 = addTab<TFram4>(PageControl1, TabSheet2, "TabSheet2", "Tiles");
    Fram51 = addTab<TFram5>(PageControl1, TabSheet3, "TabSheet3", "Groups");
    Fram31 = addTab<TFram3>(PageControl1, TabSheet4, "TabSheet4", "Rules");
    Fram61 = addTab<TFram6>(PageControl1, TabSheet5, "TabSheet5", "Import Tiles/Groups");
    Fram71 = addTab<TFram7>(PageControl1, TabSheet6, "TabSheet6", "Files/Textures");
    PageControl1->setCurrentIndex(0);
    PageControl1->hide();

    Fram11 = new TFram1(this);
    Fram11->setFixedHeight(TFram1::FrameHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(Fram11, 0, Qt::AlignBottom);

    // The general frame's popup menu is the window's too.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { Fram11->PopupMenu1->popup(mapToGlobal(p)); });

    SetModelViews(&views_);
    SetProcessWaiter(&waiter_);
    // A failure while the window is being set up is shown, and the window still comes up,
    // so the editor can be used with what was found.
    try {
        FormCreate();
    } catch (...) {
        ShowException(std::current_exception());
    }
}

QTabWidget* TForm1::MakeNamedTabs()
{
    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    pages->setDocumentMode(true); // flat buttons rather than raised tabs
    pages->setStyleSheet("QTabBar::tab { height: 30px; width: 131px; padding: 0px; }");
    pages->resize(WindowWidth, PageControlHeight);
    return pages;
}

TForm1::~TForm1()
{
    SetModelViews(nullptr);
    SetProcessWaiter(nullptr);
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate()
{
    std::setlocale(LC_NUMERIC, "C");
    GameData& game = Game();
    game.LocateGameAndOpenTlk();
    game.BifResList.LoadGameKeyFiles(Fram41->MiniMapList);
    SetWindowHeight(EmptyHeight);
    Fram11->GroupBox1->setEnabled(false);
    Fram11->GroupBox2->setEnabled(false);
    std::error_code ec;
    std::string start = std::filesystem::current_path(ec).string();
    game.SetStartFolder(start);
    game.AutoConvertMdl = false;
    LoadOptions(Options);
    optionsLoaded_ = true;
}

std::optional<UnstoredValues> TForm1::FindUnstoredValues() const
{
    if (auto found = Fram21->Unstored()) return found;
    if (auto found = Fram41->Unstored()) return found;
    if (auto found = Fram51->Unstored()) return found;
    return Fram31->Unstored();
}

void TForm1::SetWindowHeight(int h)
{
    setFixedSize(WindowWidth, h);
}

void TForm1::FormClose()
{
    if (optionsLoaded_) SaveOptions(Options);
}

void TForm1::closeEvent(QCloseEvent* e)
{
    // Unsaved changes are never thrown away without a question; when it cannot be asked,
    // the window stays.
    bool close = false;
    try {
        close = Fram11->AskToSaveChanges();
    } catch (...) {
        ShowException(std::current_exception());
    }
    if (!close) {
        e->ignore();
        return;
    }
    try {
        FormClose();
    } catch (...) {
        ShowException(std::current_exception());
    }
    e->accept();
}
