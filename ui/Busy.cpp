#include "ui/Busy.h"

#include <QApplication>

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

void GuiProcessWaiter::Begin()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void GuiProcessWaiter::Poll()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void GuiProcessWaiter::End()
{
    QApplication::restoreOverrideCursor();
}
