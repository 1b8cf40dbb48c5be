// Header-click sorting of CListCtrlEx.
#include "ListCtrlEx.h"

#include "ListCtrlExSortHead.h"
#include "ListModel.h"
#include "SortCompare.h"

#include <algorithm>
#include <numeric>
#include <ranges>

namespace ListCtrlEx {

void CListCtrlEx::SetColumnCompare(int column, TextCompare compare)
{
    if (compare)
        m_columnCompare[column] = std::move(compare);
    else
        m_columnCompare.erase(column);
}

int CListCtrlEx::CompareColumnTexts(QStringView a, QStringView b, const SortContext& context) const
{
    const auto own = m_columnCompare.find(context.column);
    if (own == m_columnCompare.end())
        return CompareSortTexts(a, b, context.mode, context.ascending);
    const int order = own->second(a, b);
    return context.ascending ? order : -order;
}

std::vector<int> CListCtrlEx::SortedRowOrder(const SortContext& context) const
{
    const int rows = GetItemCount();
    // The texts as they stand before the sort, read once.
    std::vector<QString> texts;
    texts.reserve(rows);
    for (int r = 0; r < rows; ++r)
        texts.push_back(GetItemText(r, context.column));

    std::vector<int> order(rows);
    std::iota(order.begin(), order.end(), 0);
    // The number-aware comparison is not a strict weak order when numbers and
    // other texts are mixed (9 < 10 by value, "10" < "9" < "abc" by text).
    // std::stable_sort stays within bounds whatever the comparison says, and it
    // keeps rows that compare equal in their order.
    std::stable_sort(order.begin(), order.end(),
        [&](int a, int b) { return CompareColumnTexts(texts[a], texts[b], context) < 0; });
    return order;
}

void CListCtrlEx::MoveCellsWithRows(const std::vector<int>& order)
{
    const int columns = GetColumnCount();
    std::map<CellPos, CellInfo> moved;
    for (int row = 0; row < static_cast<int>(order.size()); ++row) {
        for (int c = 0; c < columns; ++c) {
            const auto found = m_cells.find(CellPos { order[row], c });
            CellInfo info = found != m_cells.end() ? std::move(found->second) : CellInfo(c);
            moved.emplace_hint(moved.end(), CellPos { row, c }, std::move(info));
        }
    }
    // Records outside the rows and header columns go.
    m_cells = std::move(moved);
}

int CListCtrlEx::SortedInsertPosition(const QStringList& texts) const
{
    const int column = m_header->SortColumn();
    const auto rows = std::views::iota(0, GetItemCount());
    const auto sort = m_columnSort.find(column);
    if (column < 0 || column >= GetColumnCount() || sort == m_columnSort.end())
        return GetItemCount();
    const SortContext context { sort->second.mode, sort->second.ascending, column, this };
    const auto sortsBefore
        = [&](const QString& a, const QString& b) { return CompareColumnTexts(a, b, context) < 0; };
    const auto text = [&](int row) { return GetItemText(row, column); };
    return static_cast<int>(
        std::ranges::upper_bound(rows, texts.value(column), sortsBefore, text) - rows.begin());
}

void CListCtrlEx::OnColumnClick(int column)
{
    if (!(m_options & SortOnHeaderClick))
        return;
    if (column < 0 || column >= GetColumnCount())
        return;

    if (m_columnSort.empty()) {
        for (int c = 0; c < GetColumnCount(); ++c)
            m_columnSort[c] = ColumnSort {};
    }
    ColumnSort& sort = m_columnSort[column];
    sort.ascending = sort.ascending == 0 ? 1 : 0;
    const SortContext context { sort.mode, sort.ascending, column, this };

    // Texts and per-row values live in the row itself, so reordering the rows
    // carries them; cell records are keyed by position and are moved after.
    const std::vector<int> order = SortedRowOrder(context);
    m_model->ApplyRowOrder(order);
    MoveCellsWithRows(order);
    m_header->SetSortState(column, static_cast<int>(sort.ascending));
    viewport()->update();
}

} // namespace ListCtrlEx
