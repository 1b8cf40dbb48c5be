#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace ListCtrlEx {

// The named system colours the list draws with, and the palette role of the
// current style that stands for each.
enum class SystemColor {
    Window, // background of list and edit fields
    WindowText,
    Highlight, // selection background
    HighlightText, // selection text
    Face3D, // face of buttons and header items
    HotLight, // hot-tracking colour
    Highlight3D, // lit edge of bevelled elements
    Shadow3D, // shadowed edge of bevelled elements
};

// The colour as the widget's style gives it. Always from the active colour
// group: system colours do not change with the window's focus, and the list
// shows its selection also when it has none.
QColor SystemColorOf(const QWidget* widget, SystemColor color);

} // namespace ListCtrlEx
