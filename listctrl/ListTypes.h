#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <compare>

namespace ListCtrlEx {

class CListCtrlEx;

// A cell of the list; (-1, -1) names no cell. Ordered by row, then column.
struct CellPos {
    int row = -1;
    int column = -1;

    bool IsNone() const { return row < 0 || column < 0; }
    auto operator<=>(const CellPos&) const = default;
};

// What a column's cells are and how they react to a click.
enum class ColumnType : int {
    Text = 0,
    CheckBox = 1,
    Radio = 2,
    Combo = 3,
    Edit = 4,
    Progress = 5,
};

// Per-cell data. The two flags share one word, as the bits of one option set.
struct CellInfo {
    unsigned enabled : 1 = 1;
    unsigned checked : 1 = 0;
    int image = -1;
    int group = 0;
    QStringList comboItems;
    QString validChars;
    unsigned progressPos = 0;
    unsigned progressMax = 100;

    CellInfo() = default;
    explicit CellInfo(int radioGroup)
        : group(radioGroup)
    {
    }
};

enum class SortMode : unsigned {
    Text = 0,
    NumberAware = 1,
};

struct ColumnSort {
    SortMode mode = SortMode::Text;
    unsigned ascending = 1;
};

// Handed to the row comparison while the rows are sorted.
struct SortContext {
    SortMode mode = SortMode::Text;
    unsigned ascending = 1;
    int column = 0;
    const CListCtrlEx* list = nullptr;
};

// Payload of the check notifications.
struct CellCheck {
    int row = -1;
    int column = -1;
    int checked = 0;
};

// Bits of CListCtrlEx's option set.
enum ListOptions : unsigned {
    ShowProgressText = 1u << 0,
    SortOnHeaderClick = 1u << 1,
    // Cell records and colours stay with their rows when a row is inserted
    // above them and through a header sort, as marks of a row rather than of
    // a place; without it they stay at their positions.
    CellsFollowRows = 1u << 2,
};

} // namespace ListCtrlEx

Q_DECLARE_METATYPE(ListCtrlEx::CellPos)
Q_DECLARE_METATYPE(ListCtrlEx::CellCheck)
