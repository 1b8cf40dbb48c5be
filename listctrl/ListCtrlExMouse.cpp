// Hit testing, mouse clicks and check states of CListCtrlEx.
#include "ListCtrlEx.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace ListCtrlEx {

namespace {

    // Left edge of the click square of check-box and radio cells, from the cell's
    // left edge; the square is as wide as the cell is high.
    constexpr int kCheckSquareIndent = 7;

} // namespace

std::optional<QRect> CListCtrlEx::RowBounds(int row) const
{
    const int columns = GetColumnCount();
    if (row < 0 || row >= GetItemCount() || columns == 0)
        return std::nullopt;
    const QRect first = visualRect(model()->index(row, 0));
    int left = first.left();
    int right = first.left();
    for (int c = 0; c < columns; ++c) {
        if (isColumnHidden(c))
            continue;
        const int position = columnViewportPosition(c);
        left = std::min(left, position);
        right = std::max(right, position + columnWidth(c));
    }
    return QRect(left, first.top(), right - left, first.height());
}

std::optional<QRect> CListCtrlEx::GetCellRect(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return std::nullopt;
    if (column > 0)
        return visualRect(model()->index(row, column));
    // Column 0 reaches from the row's start up to where column 1 begins.
    std::optional<QRect> bounds = RowBounds(row);
    if (!bounds || GetColumnCount() == 1)
        return bounds;
    const QRect next = visualRect(model()->index(row, 1));
    if (!next.isValid())
        return std::nullopt;
    bounds->setRight(next.left() - 1);
    return bounds;
}

CellPos CListCtrlEx::HitTestCell(const QPoint& point) const
{
    // Whole sections: the grid line at a cell's right and bottom edge, which
    // the cell rectangle leaves out, belongs to that cell too.
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0)
        return {};
    return CellPos { row, column };
}

bool CListCtrlEx::IsValidCell(CellPos cell) const
{
    return cell.row >= 0 && cell.column >= 0 && cell.row < GetItemCount() && cell.column < GetColumnCount();
}

void CListCtrlEx::SetCheck(int row, int column, bool checked)
{
    switch (GetColumnType(column)) {
    case ColumnType::CheckBox: {
        GetCellInfo(row, column).checked = checked ? 1 : 0;
        if (!GetCellRect(row, column))
            return;
        RepaintCell(row, column);
        Q_EMIT listExCheckSet(this, CellCheck { row, column, checked ? 1 : 0 });
        return;
    }
    case ColumnType::Radio: {
        const int group = GetCellInfo(row, column).group;
        const int rows = GetItemCount();
        const int columns = GetColumnCount();
        std::vector<bool> isRadio(columns);
        for (int c = 0; c < columns; ++c)
            isRadio[c] = GetColumnType(c) == ColumnType::Radio;
        // Cells without a record are unchecked: only records can need clearing.
        for (auto& [pos, other] : m_cells) {
            if (pos.row < 0 || pos.row >= rows || pos.column < 0 || pos.column >= columns)
                continue;
            if (isRadio[pos.column] && other.group == group && other.checked) {
                other.checked = 0;
                RepaintCell(pos.row, pos.column);
            }
        }
        GetCellInfo(row, column).checked = 1;
        RepaintCell(row, column);
        Q_EMIT listExCheckSet(this, CellCheck { row, column, 1 });
        return;
    }
    default:
        return;
    }
}

void CListCtrlEx::PostCellNotify(void (CListCtrlEx::*signal)(CListCtrlEx*, CellPos), CellPos cell)
{
    QMetaObject::invokeMethod(
        this,
        [this, signal, cell] {
            Q_EMIT(this->*signal)
            (this, cell);
        },
        Qt::QueuedConnection);
}

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    if (m_inBaseDoubleClick) {
        QTableView::mousePressEvent(event);
        return;
    }
    switch (event->button()) {
    case Qt::LeftButton:
        OnLButtonDown(event);
        return;
    case Qt::RightButton:
        OnRButtonDown(event);
        return;
    default:
        QTableView::mousePressEvent(event);
        return;
    }
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(event);
    m_inBaseDoubleClick = true;
    QTableView::mouseDoubleClickEvent(event);
    m_inBaseDoubleClick = false;
}

void CListCtrlEx::OnLButtonDown(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const CellPos hit = HitTestCell(point);
    const bool valid = IsValidCell(hit);

    QTableView::mousePressEvent(event);

    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        return;

    if (valid && GetCellInfo(hit.row, hit.column).enabled) {
        switch (GetColumnType(hit.column)) {
        case ColumnType::CheckBox:
        case ColumnType::Radio: {
            const std::optional<QRect> cell = GetCellRect(hit.row, hit.column);
            if (!cell)
                break;
            const QRect square(
                cell->left() + kCheckSquareIndent, cell->top(), cell->height(), cell->height());
            if (!square.contains(point))
                break;
            SetCheck(hit.row, hit.column, !GetCellInfo(hit.row, hit.column).checked);
            const int state = GetCellInfo(hit.row, hit.column).checked ? 2 : 0;
            Q_EMIT listExCheckClick(this, CellCheck { hit.row, hit.column, state });
            break;
        }
        case ColumnType::Combo:
            if (EnsureVisible(hit.row, true))
                ShowInPlaceCombo(hit.row, hit.column);
            break;
        case ColumnType::Edit:
            if (EnsureVisible(hit.row, true))
                ShowInPlaceEdit(hit.row, hit.column);
            break;
        default:
            break;
        }
    }
    Q_EMIT listExClick(this, hit);
}

void CListCtrlEx::OnRButtonDown(QMouseEvent* event)
{
    PostCellNotify(&CListCtrlEx::listExRClick, HitTestCell(event->position().toPoint()));
    QTableView::mousePressEvent(event);
}

void CListCtrlEx::OnLButtonDblClk(QMouseEvent* event)
{
    const CellPos hit = HitTestCell(event->position().toPoint());
    if (IsValidCell(hit) && GetCellInfo(hit.row, hit.column).enabled) {
        if (const std::optional<QRect> bounds = RowBounds(hit.row))
            viewport()->repaint(*bounds);
    }
    PostCellNotify(&CListCtrlEx::listExDblClick, hit);
}

} // namespace ListCtrlEx
