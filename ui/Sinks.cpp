#include "ui/Sinks.h"

#include <algorithm>

#include "ui/Widgets.h"

void TProgressSink::SetMax(int max)
{
    bar_->setRange(0, std::max(max, 1));
}

void TProgressSink::StepIt()
{
    // A bar never set reads one below its minimum.
    SetPosition(std::max(bar_->value(), bar_->minimum()) + 1);
}

void TProgressSink::SetPosition(int position)
{
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void TMemoSink::AddLine(const std::string& line)
{
    memo_->appendPlainText(ToQt(line));
}
