#pragma once

#include "ListCtrlEx.h"
#include "ListNotifications.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

namespace ListCtrlEx {

// What the in-place edit box and drop-down share: there is one object of each
// for the program, from its first use until a list control is destroyed, and it
// edits one cell at a time in a window that lives for one edit. The window
// type gives the control id and the text the edit ends with.
template <class Editor, class EditorWindow> class CInPlaceEditor {
public:
    using WindowType = EditorWindow;

    static Editor* GetInstance()
    {
        std::unique_ptr<Editor>& instance = Instance();
        if (!instance)
            instance.reset(new Editor);
        return instance.get();
    }
    // Deletes the object (closing its window); the next GetInstance makes a new one.
    static void DeleteInstance() { Instance().reset(); }

    CInPlaceEditor(const CInPlaceEditor&) = delete;
    CInPlaceEditor& operator=(const CInPlaceEditor&) = delete;

    EditorWindow* Window() const { return m_window; }
    const QString& InitialText() const { return m_initialText; }

protected:
    CInPlaceEditor() = default;
    ~CInPlaceEditor()
    {
        if (m_window) {
            m_window->Detach();
            delete m_window.data();
        }
    }

    // Takes the cell of a new edit; clears the cancelled mark.
    void BeginCell(int row, int column, const QString& initialText)
    {
        m_row = row;
        m_column = column;
        m_initialText = initialText;
        m_cancelled = false;
    }

    // Creates the window over the cell, or nothing when a window still exists
    // (the last edit's window not closed yet).
    EditorWindow* NewWindow(CListCtrlEx* list, const QRect& geometry)
    {
        if (m_window)
            return nullptr;
        m_window = new EditorWindow(static_cast<Editor*>(this), list);
        m_window->setGeometry(geometry);
        m_window->setFont(list->font());
        return m_window;
    }

private:
    // The window reports Escape and the end of its edit.
    template <class, class> friend class CInPlaceWindow;

    static std::unique_ptr<Editor>& Instance()
    {
        static std::unique_ptr<Editor> instance;
        return instance;
    }

    // Escape: the edit ends with the initial text.
    void Cancel(EditorWindow* window)
    {
        m_cancelled = true;
        if (CListCtrlEx* list = window->List())
            list->setFocus(Qt::OtherFocusReason);
    }

    // Hands the text to the list and closes the window.
    void EndEdit(EditorWindow* window)
    {
        EndEditNotify notify;
        notify.source = window->List();
        notify.sourceId = EditorWindow::kControlId;
        notify.item = m_row;
        notify.subItem = m_column;
        notify.text = m_cancelled ? m_initialText : window->EditedText();
        notify.textLength = static_cast<int>(notify.text.size());

        const QPointer<EditorWindow> guard(window);
        if (CListCtrlEx* list = window->List())
            list->OnEndLabelEdit(notify);
        // Closed once the event loop turns; the object stays for the next edit.
        if (guard)
            guard->deleteLater();
    }

    QPointer<EditorWindow> m_window;
    int m_row = -1;
    int m_column = -1;
    QString m_initialText;
    bool m_cancelled = false;
};

} // namespace ListCtrlEx
