#pragma once

#include <QStyledItemDelegate>

namespace ListCtrlEx {

class CListCtrlEx;

// Hands the drawing of every cell to the list, which draws it by the column's
// kind.
class CCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit CCellDelegate(CListCtrlEx* list);

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CListCtrlEx* m_list;
};

} // namespace ListCtrlEx
