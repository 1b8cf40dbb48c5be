#include "BusyCursor.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // The window system sees the new cursor only once the event loop turns,
    // and the blocking work that follows keeps it from turning. User input is
    // held back so that no click starts another check meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}
