// Opening and ending in-place edits of CListCtrlEx.
#include "ListCtrlEx.h"

namespace ListCtrlEx {

void CListCtrlEx::ShowInPlaceEdit(int row, int column)
{
    if (!IsValidCell(CellPos { row, column }))
        return;
}

void CListCtrlEx::ShowInPlaceCombo(int row, int column)
{
    if (!IsValidCell(CellPos { row, column }))
        return;
}

void CListCtrlEx::OnEndLabelEdit(const EndEditNotify& notify)
{
    SetItemText(notify.item, notify.subItem, notify.text);
    Q_EMIT listExEndEdit(m_dlgCtrlId, notify);
}

} // namespace ListCtrlEx
