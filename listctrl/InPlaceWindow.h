#pragma once

#include "ListCtrlEx.h"

#include <QKeyEvent>
#include <QPointer>

namespace ListCtrlEx {

// The part of an in-place editor's window that does not depend on the widget:
// it sits on the list's viewport, knows its list, and tells its editor when
// the edit is cancelled or ends.
template <class Widget, class Editor> class CInPlaceWindow : public Widget {
public:
    CListCtrlEx* List() const { return m_list; }
    // The owner is gone: no more end of edit from this window.
    void Detach() { m_owner = nullptr; }

protected:
    CInPlaceWindow(Editor* owner, CListCtrlEx* list)
        : Widget(list->viewport())
        , m_owner(owner)
        , m_list(list)
    {
    }

    Editor* Owner() const { return m_owner; }

    // Escape cancels and Enter hands the focus to the list, which ends the
    // edit. Kept from the dialog around, which would take them as its default
    // and cancel buttons. True when the key was one of them.
    bool HandleEndKey(const QKeyEvent& event)
    {
        if (event.key() == Qt::Key_Escape) {
            if (m_owner)
                m_owner->Cancel(Self());
            return true;
        }
        if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
            if (m_list)
                m_list->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    }

    // The focus left for good: the edit ends, once.
    void EndOnce()
    {
        if (m_ended || !m_owner)
            return;
        m_ended = true;
        m_owner->EndEdit(Self());
    }

private:
    // The editor is still incomplete where a window class is declared, so its
    // window type is looked up only here, in a member body.
    auto* Self() { return static_cast<typename Editor::WindowType*>(this); }

    Editor* m_owner;
    QPointer<CListCtrlEx> m_list;
    bool m_ended = false;
};

} // namespace ListCtrlEx
