#include "InPlaceCombo.h"

#include "ListCtrlEx.h"
#include "ListNotifications.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

namespace ListCtrlEx {

CInPlaceComboWindow::CInPlaceComboWindow(CInPlaceCombo* owner, CListCtrlEx* list)
    : CInPlaceWindow(owner, list)
{
    setObjectName(QStringLiteral("InPlaceCombo"));
    setProperty("dlgCtrlId", kControlId);
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    // However the list of choices closes (a choice taken, Escape in it, a click
    // outside), its closing hides this popup window.
    m_popup = view()->window();
    m_popup->installEventFilter(this);
}

CInPlaceComboWindow::~CInPlaceComboWindow()
{
    if (m_popup)
        m_popup->removeEventFilter(this);
}

void CInPlaceComboWindow::showPopup()
{
    QComboBox::showPopup();
    if (m_popup && m_popup->height() > kDropHeight)
        m_popup->resize(m_popup->width(), kDropHeight);
}

void CInPlaceComboWindow::keyPressEvent(QKeyEvent* event)
{
    if (HandleEndKey(*event))
        return;
    QComboBox::keyPressEvent(event);
}

void CInPlaceComboWindow::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening the list of choices moves the focus into it; the edit goes on
    // until the list closes.
    if (event->reason() == Qt::PopupFocusReason || (m_popup && m_popup->isVisible()))
        return;
    EndOnce();
}

bool CInPlaceComboWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_popup && event->type() == QEvent::Hide)
        OnCloseUp();
    return QComboBox::eventFilter(watched, event);
}

void CInPlaceComboWindow::OnCloseUp()
{
    // Once the popup has handed the focus back, move it to the list: that
    // ends the edit with the selected choice.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (CListCtrlEx* list = List())
                list->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

QString CInPlaceComboWindow::EditedText() const
{
    const int selected = currentIndex();
    return selected >= 0 ? itemText(selected) : QString();
}

void CInPlaceCombo::Begin(int row, int column, const QStringList& items, const QString& initialText)
{
    BeginCell(row, column, initialText);
    m_items = items;
}

void CInPlaceCombo::OpenWindow(CListCtrlEx* list, const QRect& rect)
{
    // The field covers the cell; the extra height is the drop-down's.
    CInPlaceComboWindow* window = NewWindow(
        list, QRect(rect.topLeft(), QSize(rect.width(), rect.height() - CInPlaceComboWindow::kDropHeight)));
    if (!window)
        return;
    window->clear();
    window->addItems(m_items);
    window->setCurrentIndex(-1);
    window->show();
    window->setFocus(Qt::OtherFocusReason);
}

void CInPlaceCombo::SelectMatching(const QString& text)
{
    CInPlaceComboWindow* window = Window();
    if (!window || text.isEmpty())
        return;
    const int count = window->count();
    for (int step = 1; step <= count; ++step) {
        const int index = step % count;
        if (window->itemText(index).startsWith(text, Qt::CaseInsensitive)) {
            window->setCurrentIndex(index);
            return;
        }
    }
}

} // namespace ListCtrlEx
