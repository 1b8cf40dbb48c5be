#include "CTabCtrl.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

CTabCtrl::CTabCtrl(QWidget* parent)
    : QWidget(parent)
    , m_tabBar(new QTabBar(this))
{
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);
    connect(m_tabBar, &QTabBar::currentChanged, this, [this](int) {
        if (!m_settingSelection)
            Q_EMIT SelChange();
    });
    setFocusProxy(m_tabBar);
    LayoutTabBar();
}

int CTabCtrl::InsertItem(int index, const QString& text)
{
    if (index < 0)
        return -1;
    const bool wasEmpty = m_tabBar->count() == 0;
    // Adding tabs is no user choice: keep the notification quiet.
    m_settingSelection = true;
    const int position = m_tabBar->insertTab(index, text);
    m_settingSelection = false;
    if (wasEmpty)
        LayoutTabBar();
    return position;
}

int CTabCtrl::GetItemCount() const
{
    return m_tabBar->count();
}

QString CTabCtrl::GetItemText(int index) const
{
    return index >= 0 && index < m_tabBar->count() ? m_tabBar->tabText(index) : QString();
}

bool CTabCtrl::SetItemText(int index, const QString& text)
{
    if (index < 0 || index >= m_tabBar->count())
        return false;
    m_tabBar->setTabText(index, text);
    LayoutTabBar();
    return true;
}

bool CTabCtrl::DeleteItem(int index)
{
    if (index < 0 || index >= m_tabBar->count())
        return false;
    m_settingSelection = true;
    m_tabBar->removeTab(index);
    m_settingSelection = false;
    return true;
}

int CTabCtrl::GetCurSel() const
{
    return m_tabBar->currentIndex();
}

int CTabCtrl::SetCurSel(int index)
{
    if (index < 0 || index >= m_tabBar->count())
        return -1;
    const int previous = m_tabBar->currentIndex();
    m_settingSelection = true;
    m_tabBar->setCurrentIndex(index);
    m_settingSelection = false;
    return previous;
}

QRect CTabCtrl::PageArea() const
{
    const int top = m_tabBar->sizeHint().height();
    return rect().adjusted(0, top, 0, 0);
}

void CTabCtrl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = PageArea();
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_tabBar->size();
    frame.tabBarRect = m_tabBar->geometry();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void CTabCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutTabBar();
}

void CTabCtrl::LayoutTabBar()
{
    const QSize hint = m_tabBar->sizeHint();
    m_tabBar->setGeometry(0, 0, qMin(hint.width(), width()), hint.height());
}
