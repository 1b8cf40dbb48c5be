#pragma once
// The application's message box: modal, one OK button, captioned with the
// application name. It may be asked for from any thread; it is always shown
// on the UI thread, and the asking thread waits until the user closes it.
#include <QString>

class UiHandOff;

// "Quillscope": the caption of every message box.
QString ApplicationName();

// Shows the box and returns IDOK once it is closed. From a thread other than
// the UI thread the box goes through the application's hand-off, which is
// closed when the application quits; the result is then 0 if the box could
// not be shown.
int AfxMessageBox(const QString& text);
// The same through a given hand-off (for instance a page's, closed when the
// page shuts its worker down); 0 when the hand-off was closed first.
int AfxMessageBox(const UiHandOff& handOff, const QString& text);

// The hand-off to the application object's thread, closed when the
// application is about to quit or is destroyed.
UiHandOff ApplicationHandOff();
