#pragma once

#include "InPlaceEditor.h"
#include "InPlaceWindow.h"
#include "ListNotifications.h"

#include <QLineEdit>
#include <QString>

namespace ListCtrlEx {

class CInPlaceEdit;

// The window of an in-place edit: a one-line edit box over the cell that
// filters typed and pasted characters and ends the edit when it loses focus.
class CInPlaceEditWindow final : public CInPlaceWindow<QLineEdit, CInPlaceEdit> {
    Q_OBJECT

public:
    static constexpr int kControlId = kInPlaceEditId;

    CInPlaceEditWindow(CInPlaceEdit* owner, CListCtrlEx* list);
    ~CInPlaceEditWindow() override;

    // The text the edit ends with unless it is cancelled.
    QString EditedText() const { return text(); }

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
};

// The one in-place edit box of the program. The object lives from its first
// use until a list control is destroyed; its window lives for one edit.
class CInPlaceEdit final : public CInPlaceEditor<CInPlaceEdit, CInPlaceEditWindow> {
public:
    // Takes the cell of a new edit; clears the cancelled mark.
    void Begin(int row, int column, const QString& validChars, const QString& initialText);
    // Creates the window over the cell and gives it the focus; nothing when a
    // window still exists (the last edit's window not closed yet).
    void OpenWindow(CListCtrlEx* list, const QRect& rect);

    const QString& ValidChars() const { return m_validChars; }

private:
    friend class CInPlaceEditor<CInPlaceEdit, CInPlaceEditWindow>;
    CInPlaceEdit() = default;

    QString m_validChars;
};

} // namespace ListCtrlEx
