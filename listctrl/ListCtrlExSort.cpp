// Header-click sorting of CListCtrlEx.
#include "ListCtrlEx.h"

#include "ListCtrlExSortHead.h"
#include "ListModel.h"
#include "SortCompare.h"

#include <algorithm>
#include <limits>
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

namespace {

    // The entries of the rows and columns that exist, each at its row's new
    // place; the rest go. Only existing entries are visited: a cell without a
    // record reads as a default one wherever it is.
    template <class Value>
    std::map<CellPos, Value> MovedWithRows(
        std::map<CellPos, Value>& cells, const std::vector<int>& newRowOf, int columns)
    {
        std::map<CellPos, Value> moved;
        for (auto& [cell, value] : cells) {
            if (cell.row >= 0 && cell.row < static_cast<int>(newRowOf.size()) && cell.column >= 0
                && cell.column < columns)
                moved.emplace(CellPos { newRowOf[cell.row], cell.column }, std::move(value));
        }
        return moved;
    }

    template <class Value> void ShiftRowsDown(std::map<CellPos, Value>& cells, int from)
    {
        std::vector<typename std::map<CellPos, Value>::node_type> below;
        for (auto it = cells.lower_bound(CellPos { from, std::numeric_limits<int>::min() });
             it != cells.end();)
            below.push_back(cells.extract(it++));
        for (auto& node : below) {
            ++node.key().row;
            cells.insert(cells.end(), std::move(node));
        }
    }

} // namespace

void CListCtrlEx::MoveCellsWithRows(const std::vector<int>& order)
{
    std::vector<int> newRowOf(order.size());
    for (int row = 0; row < static_cast<int>(order.size()); ++row)
        newRowOf[order[row]] = row;
    m_cells = MovedWithRows(m_cells, newRowOf, GetColumnCount());
    if (m_options & CellsFollowRows)
        m_cellColors = MovedWithRows(m_cellColors, newRowOf, GetColumnCount());
}

void CListCtrlEx::ShiftCellsDown(int row)
{
    ShiftRowsDown(m_cells, row);
    ShiftRowsDown(m_cellColors, row);
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
