// Progress and log outputs of long work, and what the window does while it waits for the
// model converter.
#include "UiTestSupport.h"

#include <QTimer>
#include <sys/stat.h>

#include "ui/Sinks.h"

TEST(Progress, TheSinksFillTheirBarAndMemo)
{
    QProgressBar bar;
    TProgressSink progress(&bar);
    progress.SetMax(3);
    std::string seen;
    for (int i = 0; i < 4; ++i) progress.StepIt(), seen += std::to_string(bar.value());
    progress.SetMax(0);
    EXPECT_EQ(seen + " " + std::to_string(bar.maximum()), "1233 1") << "never past its end, never Qt's busy bar";

    QPlainTextEdit memo;
    TMemoSink(&memo).AddLine("---2- Files not found");
    TMemoSink(&memo).AddLine("caf\xe9.tga");
    EXPECT_EQ(FromQt(memo.toPlainText()), "---2- Files not found\ncaf\xe9.tga");
}

TEST_F(UiTest, TheWindowRepaintsAndShowsBusyWhileTheConverterRuns)
{
    struct Painted : QWidget {
        int paints = 0;
        void paintEvent(QPaintEvent*) override { ++paints; }
    } window;
    window.show(); // painted once events are seen to
    Qt::CursorShape during = Qt::ArrowCursor;
    QTimer probe; // gone with the case, fired or not
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (const QCursor* c = QApplication::overrideCursor()) during = c->shape();
    });
    probe.start(50);
    const std::string converter = dir.Write("nwnmdlcomp.exe", "#!/bin/sh\nsleep 0.3\n");
    chmod(converter.c_str(), 0755);
    Game().MdlCompilerPath = converter;
    EXPECT_TRUE(RunModelConverter(dir.File("tcn01.mdl")));
    EXPECT_GT(window.paints, 0);
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal cursor is back";
}
