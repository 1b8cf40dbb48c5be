#include "WindowHandle.h"

#include "CDialogBase.h"

WindowHandle::WindowHandle(const UiHandOff& handOff, CDialogBase* window)
    : m_handOff(handOff)
    , m_window(window)
{
}

LRESULT WindowHandle::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_handOff)
        return 0;
    // The pointer is only looked at on the UI thread, where the window dies.
    const QPointer<CDialogBase> window = m_window;
    const auto result = m_handOff->Run(
        [&]() -> LRESULT { return window ? window->WindowProc(message, wParam, lParam) : 0; });
    return result.value_or(0);
}

bool WindowHandle::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_handOff)
        return false;
    return m_handOff->Post([window = m_window, message, wParam, lParam] {
        if (window)
            window->WindowProc(message, wParam, lParam);
    });
}
