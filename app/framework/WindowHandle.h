#pragma once
// A dialog as another thread may hold it: messages sent or posted through the
// handle reach the dialog on the UI thread while it exists, and are dropped
// (a send answers 0 at once) once it is gone or its hand-off was closed. A
// worker that may outlive the window keeps this instead of a pointer.
#include "UiHandOff.h"
#include "WindowMessage.h"

#include <QPointer>

#include <optional>

class CDialogBase;

class WindowHandle {
public:
    WindowHandle() = default; // refers to no window
    WindowHandle(const UiHandOff& handOff, CDialogBase* window);

    // Runs the dialog's handler and returns its result; from another thread
    // it waits for the UI thread. 0 when the message could not be delivered.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Queues the message and returns at once; false when it was refused.
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

private:
    std::optional<UiHandOff> m_handOff;
    QPointer<CDialogBase> m_window;
};
