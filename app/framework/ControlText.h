#pragma once
// The text a control shows, read and written the same way for every kind:
// a label's or button's text, an edit's contents, a group box's caption, a
// drop-down list's selected entry, an address control's dotted address, and
// the window title of anything else.
#include <QString>

class QWidget;

void SetControlText(QWidget& control, const QString& text);
QString ControlText(const QWidget& control);
