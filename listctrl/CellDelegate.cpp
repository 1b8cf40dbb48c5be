#include "CellDelegate.h"

#include "ListCtrlEx.h"

namespace ListCtrlEx {

CCellDelegate::CCellDelegate(CListCtrlEx* list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
}

void CCellDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (m_list->DrawCell(painter, index.row(), index.column()))
        return;
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace ListCtrlEx
