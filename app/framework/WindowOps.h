#pragma once
// Window geometry operations in the framework's terms, for any widget:
// window rectangles in screen coordinates, moving and an immediate redraw.
#include <QRect>

class QWidget;

// The window's outer rectangle in screen coordinates (frame included for a
// top-level window).
QRect GetWindowRect(const QWidget& window);
// Moves a child window within its parent's client area, or a top-level window
// on the screen (rect is then its outer rectangle).
void MoveWindow(QWidget& window, const QRect& rect);
// Invalidates the whole window and repaints it before returning.
void RedrawWindow(QWidget& window);
