#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>

#include <memory>

namespace ListCtrlEx {

class CListCtrlEx;
class CInPlaceEdit;

// The window of an in-place edit: a one-line edit box over the cell that
// filters typed and pasted characters and ends the edit when it loses focus.
class CInPlaceEditWindow final : public QLineEdit {
    Q_OBJECT

public:
    CInPlaceEditWindow(CInPlaceEdit* owner, CListCtrlEx* list);
    ~CInPlaceEditWindow() override;

    CListCtrlEx* List() const { return m_list; }
    // The owner is gone: no more end of edit from this window.
    void Detach() { m_owner = nullptr; }

    // Pastes the clipboard text unless it holds a refused character.
    void FilteredPaste();

Q_SIGNALS:
    // A typed character was refused; the warning beep has sounded.
    void characterRefused(QChar character);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Refuses(QChar character) const;
    bool AcceptsPaste(const QString& text) const;

    CInPlaceEdit* m_owner;
    QPointer<CListCtrlEx> m_list;
    bool m_ended = false;
};

// The one in-place edit box of the program. The object lives from its first
// use until a list control is destroyed; its window lives for one edit.
class CInPlaceEdit {
public:
    static CInPlaceEdit* GetInstance();
    // Deletes the object (closing its window); the next GetInstance makes a new one.
    static void DeleteInstance();

    ~CInPlaceEdit();
    CInPlaceEdit(const CInPlaceEdit&) = delete;
    CInPlaceEdit& operator=(const CInPlaceEdit&) = delete;

    // Takes the cell of a new edit; clears the cancelled mark.
    void Begin(int row, int column, const QString& validChars, const QString& initialText);
    // Creates the window over the cell and gives it the focus; nothing when a
    // window still exists (the last edit's window not closed yet).
    void OpenWindow(CListCtrlEx* list, const QRect& rect);

    CInPlaceEditWindow* Window() const { return m_window; }
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    const QString& ValidChars() const { return m_validChars; }
    const QString& InitialText() const { return m_initialText; }
    bool IsCancelled() const { return m_cancelled; }

private:
    friend class CInPlaceEditWindow;
    CInPlaceEdit() = default;

    // Escape: the edit ends with the initial text.
    void Cancel(CInPlaceEditWindow* window);
    // Hands the text to the list and closes the window.
    void EndEdit(CInPlaceEditWindow* window);

    int m_row = -1;
    int m_column = -1;
    QString m_validChars;
    QString m_initialText;
    bool m_cancelled = false;
    QPointer<CInPlaceEditWindow> m_window;
};

} // namespace ListCtrlEx
