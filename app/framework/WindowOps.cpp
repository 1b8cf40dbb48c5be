#include "WindowOps.h"

#include <QWidget>

QRect GetWindowRect(const QWidget& window)
{
    if (window.isWindow())
        return window.frameGeometry();
    return QRect(window.mapToGlobal(QPoint(0, 0)), window.size());
}

void MoveWindow(QWidget& window, const QRect& rect)
{
    if (!window.isWindow()) {
        window.setGeometry(rect);
        return;
    }
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QSize frameExtra = frame.size() - client.size();
    window.resize(rect.size() - frameExtra);
    window.move(rect.topLeft()); // move() places the frame's corner
}

void RedrawWindow(QWidget& window)
{
    window.repaint();
}
