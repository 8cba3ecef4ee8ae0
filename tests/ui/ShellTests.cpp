// The application shell: one application object for every case, on Qt's offscreen
// platform; the exception box, a failing window set-up and the Qt dialogs' filters.
#include "UiTestSupport.h"

#include <memory>
#include <utility>

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QTimer>

#include "support/SpecialFiles.h"
#include "ui/QtDialogs.h"

namespace {
struct QtEnvironment : ::testing::Environment {
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<TApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }
    std::unique_ptr<TApplication> app;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}

TEST_F(UiTest, AnExceptionIsShownAndTheEditorGoesOn)
{
    // The application's own loop: both throwing events are shown, and the loop still runs
    // the later event that ends it.
    QTimer::singleShot(0, [] { throw std::runtime_error("broken handler"); });
    QTimer::singleShot(0, [] { throw 42; });
    QTimer::singleShot(10, [] { QApplication::exit(7); });
    QTimer watchdog; // never hang the suite; gone with the test
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 7);
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"broken handler", ""})) << "no text: an empty one";
    for (const auto& box : dialogs.boxes) EXPECT_EQ(box.kind, MsgKind::Error);

    // A failure while the main window is set up is shown, and the window comes up. Here
    // the first box fails, as a broken game folder or settings store might.
    struct FailFirstBox : ScriptedDialogs {
        bool failed = false;
        MsgResult Message(MsgKind kind, const std::string& text, MsgButtons buttons,
                          const std::string& caption) override
        {
            if (!std::exchange(failed, true)) throw std::runtime_error("set-up failed");
            return ScriptedDialogs::Message(kind, text, buttons, caption);
        }
    } failing;
    SetAppDialogs(&failing);
    dir.Write("registry.ini", ""); // no game: creation shows a notice, which fails here
    ASSERT_NO_THROW(Restart());
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(failing.Texts(), std::vector<std::string>{"set-up failed"});
    EXPECT_NE(Form3, nullptr) << "the dialogs are created after it";
    F().About1->trigger();
    EXPECT_EQ(failing.boxes.back().text, "Tilvenna BETA 0.85");
    SetAppDialogs(&dialogs);
}

TEST(QtDialogs, FiltersAndExtensionsBecomeQtForms)
{
    EXPECT_EQ(QtDialogs::NameFilters("Fichiers SET (*.set)|*.set;*.SET"), QStringList{"Fichiers SET (*.set *.SET)"});
    EXPECT_EQ(QtDialogs::NameFilters("Tileset files (*.set)|*.set|All files (*.*)|*.*"),
              (QStringList{"Tileset files (*.set)", "All files (*.*)"}));
    EXPECT_EQ(QtDialogs::NameFilters("Pictures|*.tga;*.dds"), QStringList{"Pictures (*.tga *.dds)"});
    EXPECT_TRUE(QtDialogs::NameFilters("").isEmpty());
    for (const char* ext : {"*.set", ".set", "set"}) EXPECT_EQ(QtDialogs::Suffix(ext), "set") << ext;
}

TEST_F(UiTest, TheFileDialogsRefuseWhatIsNoFileAndStayOpenForAnother)
{
    // The dialogs keep their history in the settings of the user's Qt: here, this case's own.
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    NamedPipe pipe(dir.File("pipe.set"));
    ASSERT_TRUE(pipe.Made());
    // A file whose name says nothing: Qt would read it to tell its type, which for one of
    // the kernel's files (/proc/kmsg) never ends.
    const std::string picture = dir.Write("picture.set", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR");
    ASSERT_NE(QFileIconProvider().type(QFileInfo(ToQt(picture))).indexOf("PNG"), -1) << "Qt reads it";
    std::string typeShown;
    QtDialogs qt;
    FileDialogOptions options;
    options.initialDir = dir.Path();
    options.overwritePrompt = true;
    // A question of the dialog's own (whether to replace the file) is noted and answered No.
    bool asked = false;
    QTimer questions;
    QObject::connect(&questions, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) asked = true, box->reject();
    });
    questions.start(20);
    for (bool save : {false, true}) {
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d) return QApplication::exit(1);
            typeShown = FromQt(d->iconProvider()->type(QFileInfo(ToQt(picture))));
            d->selectFile(QString::fromStdString(pipe.Path()));
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection); // its Open or Save button
            stayed = d->isVisible();
            d->reject();
        });
        EXPECT_FALSE(save ? qt.SaveFile(options) : qt.OpenFile(options)) << save;
        EXPECT_TRUE(stayed) << save;
    }
    EXPECT_FALSE(asked) << "refused before any question";
    EXPECT_EQ(typeShown.find("PNG"), std::string::npos) << typeShown << ": told by the name alone";
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Cannot open " + pipe.Path() + ": it is a named pipe, not a file.",
                                   "Cannot save to " + pipe.Path() + ": it is a named pipe, not a file."}));
    EXPECT_FALSE(pipe.ReaderWaited());
    unsetenv("XDG_CONFIG_HOME");
}
