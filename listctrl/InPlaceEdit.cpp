#include "InPlaceEdit.h"

#include "ListCtrlEx.h"
#include "ListNotifications.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <memory>
#include <optional>

namespace ListCtrlEx {

namespace {

    // Control characters that pass the filter whatever it allows: copy, backspace,
    // paste and cut.
    constexpr char16_t kAlwaysAllowed[] = { 3, 8, 22, 24 };

    // The character a key press types, as a character message would carry it:
    // Ctrl with a letter gives its control code; keys that type nothing (arrows,
    // Delete, function keys) give none.
    std::optional<QChar> TypedCharacter(const QKeyEvent& event)
    {
        const int key = event.key();
        const Qt::KeyboardModifiers modifiers = event.modifiers();
        if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A
            && key <= Qt::Key_Z)
            return QChar(static_cast<char16_t>(key - Qt::Key_A + 1));
        if (key == Qt::Key_Backspace)
            return QChar(u'\b');
        const QString text = event.text();
        if (text.isEmpty() || text.at(0) == QChar(0x7F))
            return std::nullopt;
        return text.at(0);
    }

} // namespace

CInPlaceEditWindow::CInPlaceEditWindow(CInPlaceEdit* owner, CListCtrlEx* list)
    : CInPlaceWindow(owner, list)
{
    setObjectName(QStringLiteral("InPlaceEdit"));
    setProperty("dlgCtrlId", kControlId);
    // Dropped text would pass no filter.
    setAcceptDrops(false);
}

CInPlaceEditWindow::~CInPlaceEditWindow() = default;

bool CInPlaceEditWindow::Refuses(QChar character) const
{
    if (!Owner() || Owner()->ValidChars().isEmpty())
        return false;
    if (std::find(std::begin(kAlwaysAllowed), std::end(kAlwaysAllowed), character.unicode())
        != std::end(kAlwaysAllowed))
        return false;
    return !Owner()->ValidChars().contains(character);
}

bool CInPlaceEditWindow::AcceptsPaste(const QString& text) const
{
    if (!Owner() || Owner()->ValidChars().isEmpty())
        return true;
    if (text.isEmpty())
        return false;
    const QString& allowed = Owner()->ValidChars();
    return std::all_of(text.begin(), text.end(), [&](QChar ch) { return allowed.contains(ch); });
}

void CInPlaceEditWindow::FilteredPaste()
{
    // A refused paste is dropped silently, without the beep of a refused key.
    if (AcceptsPaste(QGuiApplication::clipboard()->text()))
        paste();
}

void CInPlaceEditWindow::keyPressEvent(QKeyEvent* event)
{
    if (HandleEndKey(*event))
        return;
    if (event->matches(QKeySequence::Paste)) {
        FilteredPaste();
        return;
    }
    if (const std::optional<QChar> typed = TypedCharacter(*event); typed && Refuses(*typed)) {
        QApplication::beep();
        Q_EMIT characterRefused(*typed);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CInPlaceEditWindow::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The context menu takes the focus for a moment; the edit goes on.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    EndOnce();
}

void CInPlaceEditWindow::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &CInPlaceEditWindow::FilteredPaste);
    }
    menu->exec(event->globalPos());
}

void CInPlaceEditWindow::mouseReleaseEvent(QMouseEvent* event)
{
    // Middle-click pastes the selection clipboard where there is one.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()
        && !AcceptsPaste(clipboard->text(QClipboard::Selection))) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CInPlaceEdit::Begin(int row, int column, const QString& validChars, const QString& initialText)
{
    BeginCell(row, column, initialText);
    m_validChars = validChars;
}

void CInPlaceEdit::OpenWindow(CListCtrlEx* list, const QRect& rect)
{
    CInPlaceEditWindow* window = NewWindow(list, rect);
    if (!window)
        return;
    window->show();
    window->setText(InitialText());
    window->selectAll();
    window->setFocus(Qt::OtherFocusReason);
}

} // namespace ListCtrlEx
