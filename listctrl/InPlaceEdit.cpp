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
#include <optional>

namespace ListCtrlEx {

namespace {

    std::unique_ptr<CInPlaceEdit>& Instance()
    {
        static std::unique_ptr<CInPlaceEdit> instance;
        return instance;
    }

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
    : QLineEdit(list->viewport())
    , m_owner(owner)
    , m_list(list)
{
    setObjectName(QStringLiteral("InPlaceEdit"));
    setProperty("dlgCtrlId", kInPlaceEditId);
    // Dropped text would pass no filter.
    setAcceptDrops(false);
}

CInPlaceEditWindow::~CInPlaceEditWindow() = default;

bool CInPlaceEditWindow::Refuses(QChar character) const
{
    if (!m_owner || m_owner->ValidChars().isEmpty())
        return false;
    if (std::find(std::begin(kAlwaysAllowed), std::end(kAlwaysAllowed), character.unicode())
        != std::end(kAlwaysAllowed))
        return false;
    return !m_owner->ValidChars().contains(character);
}

bool CInPlaceEditWindow::AcceptsPaste(const QString& text) const
{
    if (!m_owner || m_owner->ValidChars().isEmpty())
        return true;
    if (text.isEmpty())
        return false;
    const QString& allowed = m_owner->ValidChars();
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
    if (event->key() == Qt::Key_Escape) {
        if (m_owner)
            m_owner->Cancel(this);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_list)
            m_list->setFocus(Qt::OtherFocusReason);
        return;
    }
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
    if (m_ended || !m_owner)
        return;
    m_ended = true;
    m_owner->EndEdit(this);
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

CInPlaceEdit* CInPlaceEdit::GetInstance()
{
    std::unique_ptr<CInPlaceEdit>& instance = Instance();
    if (!instance)
        instance.reset(new CInPlaceEdit);
    return instance.get();
}

void CInPlaceEdit::DeleteInstance()
{
    Instance().reset();
}

CInPlaceEdit::~CInPlaceEdit()
{
    if (m_window) {
        m_window->Detach();
        delete m_window.data();
    }
}

void CInPlaceEdit::Begin(int row, int column, const QString& validChars, const QString& initialText)
{
    m_row = row;
    m_column = column;
    m_validChars = validChars;
    m_initialText = initialText;
    m_cancelled = false;
}

void CInPlaceEdit::OpenWindow(CListCtrlEx* list, const QRect& rect)
{
    if (m_window)
        return;
    m_window = new CInPlaceEditWindow(this, list);
    m_window->setGeometry(rect);
    m_window->setFont(list->font());
    m_window->show();
    m_window->setText(m_initialText);
    m_window->selectAll();
    m_window->setFocus(Qt::OtherFocusReason);
}

void CInPlaceEdit::Cancel(CInPlaceEditWindow* window)
{
    m_cancelled = true;
    if (CListCtrlEx* list = window->List())
        list->setFocus(Qt::OtherFocusReason);
}

void CInPlaceEdit::EndEdit(CInPlaceEditWindow* window)
{
    EndEditNotify notify;
    notify.source = window->List();
    notify.sourceId = kInPlaceEditId;
    notify.item = m_row;
    notify.subItem = m_column;
    notify.text = m_cancelled ? m_initialText : window->text();
    notify.textLength = static_cast<int>(notify.text.size());

    const QPointer<CInPlaceEditWindow> guard(window);
    if (CListCtrlEx* list = window->List())
        list->OnEndLabelEdit(notify);
    // Closed once the event loop turns; the object stays for the next edit.
    if (guard)
        guard->deleteLater();
}

} // namespace ListCtrlEx
