#pragma once
// The game-data layer's progress and log outputs on the tabs' widgets.
#include <QPlainTextEdit>
#include <QProgressBar>

#include "gamedata/Filefun.h"

// A progress bar from 0 to a maximum, one step at a time. The bar never runs past its
// maximum (a step there stays put) and repaints at once, as the work runs on the GUI thread.
class TProgressSink : public ProgressSink {
public:
    explicit TProgressSink(QProgressBar* bar) : bar_(bar) {}
    // A maximum below 1 makes a bar of one step, never Qt's moving "busy" bar.
    void SetMax(int max) override;
    void StepIt() override;
    void SetPosition(int position) override;

private:
    QProgressBar* bar_;
};

// A memo that takes the lines at its end, shown as Latin-1.
class TMemoSink : public LineSink {
public:
    explicit TMemoSink(QPlainTextEdit* memo) : memo_(memo) {}
    void AddLine(const std::string& line) override;

private:
    QPlainTextEdit* memo_;
};
