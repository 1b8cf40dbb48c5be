// Opening and ending in-place edits of CListCtrlEx.
#include "ListCtrlEx.h"

#include "InPlaceCombo.h"
#include "InPlaceEdit.h"

namespace ListCtrlEx {

void CListCtrlEx::ShowInPlaceEdit(int row, int column)
{
    if (!IsValidCell(CellPos { row, column }))
        return;
    const QString text = GetItemText(row, column);
    const std::optional<QRect> rect = GetCellRect(row, column);
    if (!rect)
        return;
    Q_EMIT listExBeginEdit(this, CellPos { row, column });

    CInPlaceEdit* edit = CInPlaceEdit::GetInstance();
    edit->Begin(row, column, GetCellInfo(row, column).validChars, text);
    edit->OpenWindow(this, *rect);
}

void CListCtrlEx::ShowInPlaceCombo(int row, int column)
{
    if (!IsValidCell(CellPos { row, column }))
        return;
    const QString text = GetItemText(row, column);
    std::optional<QRect> rect = GetCellRect(row, column);
    if (!rect)
        return;
    Q_EMIT listExBeginEdit(this, CellPos { row, column });

    rect->setHeight(rect->height() + CInPlaceComboWindow::kDropHeight);
    CInPlaceCombo* combo = CInPlaceCombo::GetInstance();
    combo->Begin(row, column, GetCellInfo(row, column).comboItems, text);
    combo->OpenWindow(this, *rect);
    combo->SelectMatching(text);
}

void CListCtrlEx::OnEndLabelEdit(const EndEditNotify& notify)
{
    SetItemText(notify.item, notify.subItem, notify.text);
    Q_EMIT listExEndEdit(m_dlgCtrlId, notify);
}

} // namespace ListCtrlEx
