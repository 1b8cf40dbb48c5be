#include "ListCtrlExSortHead.h"

#include "SystemColors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include <cstdlib>

namespace ListCtrlEx {

namespace {

    // A line drawn from the current point towards `to` without the end point,
    // which becomes the new current point, so that joined lines set each corner
    // pixel once. Written out here because Qt's flat caps leave out whichever end
    // comes last in Qt's own drawing order, not in ours.
    void LineTo(QPainter& painter, QPoint& current, QPoint to, const QColor& color)
    {
        int x = current.x();
        int y = current.y();
        const int dx = std::abs(to.x() - x);
        const int dy = -std::abs(to.y() - y);
        const int stepX = x < to.x() ? 1 : -1;
        const int stepY = y < to.y() ? 1 : -1;
        int error = dx + dy;
        while (x != to.x() || y != to.y()) {
            painter.fillRect(x, y, 1, 1, color);
            const int doubled = 2 * error;
            if (doubled >= dy) {
                error += dy;
                x += stepX;
            }
            if (doubled <= dx) {
                error += dx;
                y += stepY;
            }
        }
        current = to;
    }

} // namespace

CListCtrlExSortHead::CListCtrlExSortHead(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
    // The triangle is ours; Qt's indicator would draw a second one.
    setSortIndicatorShown(false);
}

void CListCtrlExSortHead::SetSortState(int column, int ascending)
{
    m_sortColumn = column;
    m_sortAscending = ascending;
    viewport()->update();
}

QRect CListCtrlExSortHead::TextRect(const QRect& item, int logicalIndex, bool pressed, int s) const
{
    const int w = 2 * s;
    int left = item.x();
    int top = item.y();
    int right = item.x() + item.width();
    const int bottom = item.y() + item.height();
    if (pressed) {
        left += 1;
        top += 2;
        right += 1;
    }
    left += w;
    right -= w;
    if (logicalIndex == m_sortColumn)
        right -= 3 * w;
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void CListCtrlExSortHead::DrawTriangle(QPainter* painter, const QRect& item, int s) const
{
    const int r = item.x() + item.width();
    const int b = item.y() + item.height();
    // Measured from the top of the header, not of the item.
    const int top = 2 * s - 1;

    const QColor light = SystemColorOf(this, SystemColor::Highlight3D);
    const QColor dark = SystemColorOf(this, SystemColor::Shadow3D);
    QPoint current;
    if (m_sortAscending) {
        current = QPoint(r - 3 * s, top);
        LineTo(*painter, current, QPoint(r - 4 * s - 1, b - 2 * s + 1), light);
        current = QPoint(r - 4 * s - 1, b - 2 * s);
        LineTo(*painter, current, QPoint(r - 5 * s - 1, top), dark);
        LineTo(*painter, current, QPoint(r - 3 * s, top), dark);
    } else {
        current = QPoint(r - 4 * s, top);
        LineTo(*painter, current, QPoint(r - 3 * s, b - 2 * s), light);
        LineTo(*painter, current, QPoint(r - 5 * s - 2, b - 2 * s), light);
        current = QPoint(r - 5 * s - 1, b - 2 * s - 1);
        LineTo(*painter, current, QPoint(r - 4 * s, top - 1), dark);
    }
}

void CListCtrlExSortHead::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    // The style's own section frame and divider, as any list header has; the
    // text and the triangle are ours.
    QStyleOptionHeader frame;
    initStyleOptionForIndex(&frame, logicalIndex);
    frame.rect = rect;
    frame.text.clear();
    frame.sortIndicator = QStyleOptionHeader::None;
    frame.state &= ~(QStyle::State_Sunken | QStyle::State_Raised);
    frame.state |= logicalIndex == m_pressedSection ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_HeaderSection, &frame, painter, this);
    painter->setRenderHint(QPainter::Antialiasing, false);

    const QAbstractItemModel* source = model();
    const QString text
        = source ? source->headerData(logicalIndex, orientation()).toString().left(255) : QString();
    const Qt::Alignment alignment = source
        ? Qt::Alignment(source->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt())
        : Qt::Alignment();
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment & Qt::AlignHCenter)
        horizontal = Qt::AlignHCenter;
    else if (alignment & Qt::AlignRight)
        horizontal = Qt::AlignRight;

    const int s = painter->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const bool pressed = logicalIndex == m_pressedSection;
    const QRect textRect = TextRect(rect, logicalIndex, pressed, s);
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    painter->setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter->drawText(textRect, static_cast<int>(Qt::TextSingleLine | Qt::AlignVCenter | horizontal), shown);

    if (logicalIndex == m_sortColumn)
        DrawTriangle(painter, rect, s);
    painter->restore();
}

void CListCtrlExSortHead::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && sectionsClickable())
        m_pressedSection = logicalIndexAt(event->position().toPoint());
    QHeaderView::mousePressEvent(event);
    viewport()->update();
}

void CListCtrlExSortHead::mouseReleaseEvent(QMouseEvent* event)
{
    QHeaderView::mouseReleaseEvent(event);
    m_pressedSection = -1;
    viewport()->update();
}

} // namespace ListCtrlEx
