#pragma once
// A posted window message travelling through Qt's event queue.
#include "WindowMessage.h"

#include <QEvent>

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);

    static QEvent::Type EventType();

    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
