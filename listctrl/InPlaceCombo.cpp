#include "InPlaceCombo.h"

#include "ListCtrlEx.h"
#include "ListNotifications.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

#include <memory>

namespace ListCtrlEx {

namespace {

    std::unique_ptr<CInPlaceCombo>& Instance()
    {
        static std::unique_ptr<CInPlaceCombo> instance;
        return instance;
    }

} // namespace

CInPlaceComboWindow::CInPlaceComboWindow(CInPlaceCombo* owner, CListCtrlEx* list)
    : QComboBox(list->viewport())
    , m_owner(owner)
    , m_list(list)
{
    setObjectName(QStringLiteral("InPlaceCombo"));
    setProperty("dlgCtrlId", kInPlaceComboId);
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
    // Kept from the dialog around, which would take them as its default and
    // cancel buttons.
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
    QComboBox::keyPressEvent(event);
}

void CInPlaceComboWindow::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening the list of choices moves the focus into it; the edit goes on
    // until the list closes.
    if (event->reason() == Qt::PopupFocusReason || (m_popup && m_popup->isVisible()))
        return;
    if (m_ended || !m_owner)
        return;
    m_ended = true;
    m_owner->EndEdit(this);
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
            if (m_list)
                m_list->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

CInPlaceCombo* CInPlaceCombo::GetInstance()
{
    std::unique_ptr<CInPlaceCombo>& instance = Instance();
    if (!instance)
        instance.reset(new CInPlaceCombo);
    return instance.get();
}

void CInPlaceCombo::DeleteInstance()
{
    Instance().reset();
}

CInPlaceCombo::~CInPlaceCombo()
{
    if (m_window) {
        m_window->Detach();
        delete m_window.data();
    }
}

void CInPlaceCombo::Begin(int row, int column, const QStringList& items, const QString& initialText)
{
    m_row = row;
    m_column = column;
    m_cancelled = false;
    m_items = items;
    m_initialText = initialText;
}

void CInPlaceCombo::OpenWindow(CListCtrlEx* list, const QRect& rect)
{
    if (m_window)
        return;
    m_window = new CInPlaceComboWindow(this, list);
    // The field covers the cell; the extra height is the drop-down's.
    m_window->setGeometry(
        QRect(rect.topLeft(), QSize(rect.width(), rect.height() - CInPlaceComboWindow::kDropHeight)));
    m_window->setFont(list->font());
    m_window->clear();
    m_window->addItems(m_items);
    m_window->setCurrentIndex(-1);
    m_window->show();
    m_window->setFocus(Qt::OtherFocusReason);
}

void CInPlaceCombo::SelectMatching(const QString& text)
{
    if (!m_window || text.isEmpty())
        return;
    const int count = m_window->count();
    for (int step = 1; step <= count; ++step) {
        const int index = step % count;
        if (m_window->itemText(index).startsWith(text, Qt::CaseInsensitive)) {
            m_window->setCurrentIndex(index);
            return;
        }
    }
}

void CInPlaceCombo::Cancel(CInPlaceComboWindow* window)
{
    m_cancelled = true;
    if (CListCtrlEx* list = window->List())
        list->setFocus(Qt::OtherFocusReason);
}

void CInPlaceCombo::EndEdit(CInPlaceComboWindow* window)
{
    EndEditNotify notify;
    notify.source = window->List();
    notify.sourceId = kInPlaceComboId;
    notify.item = m_row;
    notify.subItem = m_column;
    const int selected = window->currentIndex();
    notify.text = m_cancelled ? m_initialText : (selected >= 0 ? window->itemText(selected) : QString());
    notify.textLength = static_cast<int>(notify.text.size());

    const QPointer<CInPlaceComboWindow> guard(window);
    if (CListCtrlEx* list = window->List())
        list->OnEndLabelEdit(notify);
    if (guard)
        guard->deleteLater();
}

} // namespace ListCtrlEx
