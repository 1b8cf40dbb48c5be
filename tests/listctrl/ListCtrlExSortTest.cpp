// Header-click sorting and what travels with the rows.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    using ListSort = ListFixture;

    TEST_F(ListSort, FirstClickSortsDescendingAndEachColumnKeepsItsDirection)
    {
        AddRows({ "b", "c", "a" });
        list->SetItemText(0, 1, QStringLiteral("y"));
        list->SetItemText(1, 1, QStringLiteral("x"));
        list->SetItemText(2, 1, QStringLiteral("z"));
        CListCtrlExSortHead* header = list->GetHeaderCtrl();
        ClickHeader(0); // off by default
        EXPECT_EQ(ColumnTexts(0), (QStringList { "b", "c", "a" }));
        EXPECT_EQ(header->SortColumn(), -1);

        // The header shows the sort column and direction.
        list->SetOptions(SortOnHeaderClick);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        EXPECT_EQ(header->SortColumn(), 0);
        EXPECT_EQ(header->SortAscending(), 0);
        ClickHeader(1);
        EXPECT_EQ(ColumnTexts(1), (QStringList { "z", "y", "x" }));
        EXPECT_EQ(header->SortColumn(), 1);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "a", "b", "c" }));
        EXPECT_EQ(header->SortAscending(), 1);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        // Inserting a column keeps the direction at its index.
        list->InsertColumn(1, QStringLiteral("New"), 40);
        EXPECT_EQ(list->GetColumnSort(1).ascending, 0u);
    }

    TEST_F(ListSort, TextOrdersByCodeUnitsAndNumberAwareByValue)
    {
        list->SetOptions(SortOnHeaderClick);
        list->SetColumnSortMode(1, SortMode::NumberAware);
        AddRows({ "9", "10", "-3", "abc", "B" });
        const QStringList numbers { "10", "-3", "9", "abc", "1.9" };
        for (int r = 0; r < 5; ++r)
            list->SetItemText(r, 1, numbers[r]);
        ClickHeader(0);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "-3", "10", "9", "B", "abc" }));
        ClickHeader(1);
        ClickHeader(1);
        // "abc" against a number falls back to text order; "1.9" equals "1".
        EXPECT_EQ(ColumnTexts(1), (QStringList { "-3", "1.9", "9", "10", "abc" }));
    }

    TEST_F(ListSort, EqualRowsKeepTheirOrderAndNewRecordsTheirColumnGroup)
    {
        list->SetOptions(SortOnHeaderClick);
        list->SetColumnSortMode(0, SortMode::NumberAware);
        AddRows({ "1.9", "1.2", "1" });
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "1.9", "1.2", "1" }));
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "1.9", "1.2", "1" }));
        // The sort made the records; each cell's radio group is its column.
        EXPECT_EQ(list->GetCellInfo(1, 2).group, 2);
        EXPECT_EQ(list->GetCellInfo(2, 3).group, 3);
    }

    TEST_F(ListSort, RecordsItemDataAndSelectionTravelWithTheirRowsWhileColoursStay)
    {
        list->SetOptions(SortOnHeaderClick);
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnType(2, ColumnType::Radio);
        list->SetColumnType(3, ColumnType::Progress);
        AddRows({ "b", "c", "a" });
        for (int r = 0; r < 3; ++r)
            list->SetItemData(r, 1000 + r);
        Click(CellCenter(2, 0)); // "a"

        list->GetCellInfo(0, 1).checked = 1;
        list->GetCellInfo(0, 1).image = 3;
        list->GetCellInfo(0, 2).comboItems = QStringList { "one", "two" };
        list->GetCellInfo(1, 3).progressPos = 40;
        list->GetCellInfo(1, 0).enabled = 0;
        list->GetCellInfo(2, 3).group = 5;
        list->GetCellInfo(8, 0).image = 9; // outside the rows
        list->SetCellBkColor(0, 0, Qt::red);

        ClickHeader(0);
        ASSERT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        EXPECT_EQ(list->GetItemData(0), 1001u);
        EXPECT_EQ(list->GetItemData(1), 1000u);
        EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("r0c1"));
        EXPECT_TRUE(list->IsRowSelected(2));

        EXPECT_TRUE(list->GetCellInfo(1, 1).checked);
        EXPECT_EQ(list->GetCellInfo(1, 1).image, 3);
        EXPECT_EQ(list->GetCellInfo(1, 2).comboItems, (QStringList { "one", "two" }));
        EXPECT_EQ(list->GetCellInfo(0, 3).progressPos, 40u);
        EXPECT_FALSE(list->GetCellInfo(0, 0).enabled);
        EXPECT_EQ(list->GetCellInfo(2, 3).group, 5);
        EXPECT_FALSE(list->GetCellInfo(0, 1).checked);
        EXPECT_TRUE(list->GetCellInfo(2, 0).enabled);

        // Every cell has its record now; the one outside the rows is gone.
        EXPECT_EQ(list->GetCellInfoCount(), 12u);
        EXPECT_FALSE(list->HasCellInfo(8, 0));

        EXPECT_EQ(list->GetCellBkColor(0, 0), QColor(Qt::red));
        EXPECT_NE(list->GetCellBkColor(1, 0), QColor(Qt::red));

        ClickHeader(0);
        EXPECT_TRUE(list->IsRowSelected(0));
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("a"));
    }

} // namespace
} // namespace ListCtrlEx::test
