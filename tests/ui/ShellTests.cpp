// The application shell: the exception box, the popup menu and the Qt dialogs' filters.
#include "UiTestSupport.h"

#include <QTimer>

#include "ui/QtDialogs.h"

TEST_F(UiTest, AnExceptionThatReachesTheEventLoopIsShownAndTheLoopGoesOn)
{
    StartEditor();
    // The application's own loop: both throwing events are shown, and the loop still runs
    // the later event that ends it.
    QTimer::singleShot(0, [] { throw std::runtime_error("broken handler"); });
    QTimer::singleShot(0, [] { throw 42; });
    bool later = false;
    QTimer::singleShot(10, [&] {
        later = true;
        QApplication::exit(7);
    });
    QTimer watchdog; // never hang the suite; gone with the test
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 7);
    EXPECT_TRUE(later);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "broken handler");
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.boxes[1].text, "") << "an exception without a text shows an empty one";
}

namespace {
// Fails the first box it is asked to show, as a broken game folder or settings store might
// fail the window's set-up; records the rest.
class FailFirstBox : public ScriptedDialogs {
public:
    MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons, const std::string& caption) override
    {
        if (!failed_) {
            failed_ = true;
            throw std::runtime_error("set-up failed");
        }
        return ScriptedDialogs::Message(kind, text, buttons, caption);
    }

private:
    bool failed_ = false;
};
}

TEST_F(UiTest, AFailureWhileTheMainWindowIsSetUpIsShownAndTheWindowComesUp)
{
    dir.Write("registry.ini", ""); // no game: creation shows a notice, which fails here
    FailFirstBox failing;
    SetAppDialogs(&failing);
    ASSERT_NO_THROW(StartEditor());
    ASSERT_NE(Form1, nullptr);
    ASSERT_EQ(failing.boxes.size(), 1u);
    EXPECT_EQ(failing.boxes[0].text, "set-up failed");
    EXPECT_EQ(failing.boxes[0].kind, MsgKind::Error);
    EXPECT_NE(Form3, nullptr) << "the dialogs are created after it";
    F().About1->trigger();
    EXPECT_EQ(failing.boxes.back().text, "Tilvenna BETA 0.85");
    DestroyWindows();
    EXPECT_EQ(Form1, nullptr);
    SetAppDialogs(&dialogs);
}

TEST_F(UiTest, ThePopupMenuOffersOptionsAboutAndExit)
{
    StartEditor();
    QMenu* menu = F().findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items;
    for (QAction* a : menu->actions()) items.push_back(a->text().toStdString());
    EXPECT_EQ(items, (std::vector<std::string>{"&Options", "About", "&Exit"}));
    EXPECT_EQ(Form1->contextMenuPolicy(), Qt::CustomContextMenu);

    F().About1->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Tilvenna BETA 0.85");
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Information);
    EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);

    Form1->show();
    EXPECT_TRUE(Form1->isVisible());
    F().Exit1->trigger();
    EXPECT_FALSE(Form1->isVisible());
}

TEST(QtDialogs, FiltersAndExtensionsBecomeQtForms)
{
    EXPECT_EQ(QtDialogs::NameFilters("Fichiers SET (*.set)|*.set;*.SET"), QStringList{"Fichiers SET (*.set *.SET)"});
    EXPECT_EQ(QtDialogs::NameFilters("Tileset files (*.set)|*.set|All files (*.*)|*.*"),
              (QStringList{"Tileset files (*.set)", "All files (*.*)"}));
    EXPECT_EQ(QtDialogs::NameFilters("Pictures|*.tga;*.dds"), QStringList{"Pictures (*.tga *.dds)"});
    EXPECT_TRUE(QtDialogs::NameFilters("").isEmpty());
    EXPECT_EQ(QtDialogs::Suffix("*.set"), "set");
    EXPECT_EQ(QtDialogs::Suffix(".itp"), "itp");
    EXPECT_EQ(QtDialogs::Suffix("set"), "set");
}
