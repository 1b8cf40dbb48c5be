// Header-click sorting and what travels with the rows.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    using ListSort = ListFixture;

    TEST_F(ListSort, FirstClickSortsDescendingEachColumnKeepsItsDirectionNumbersByValue)
    {
        AddRows({ "10", "-3", "9", "abc", "1.9" });
        ClickHeader(0); // off until switched on
        EXPECT_EQ(ColumnTexts(0), (QStringList { "10", "-3", "9", "abc", "1.9" }));
        list->SetOptions(SortOnHeaderClick);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "abc", "9", "10", "1.9", "-3" }));
        ClickHeader(1);
        EXPECT_EQ(ColumnTexts(1), (QStringList { "r4c1", "r3c1", "r2c1", "r1c1", "r0c1" }));
        list->SetColumnSortMode(0, SortMode::NumberAware);
        ClickHeader(0); // its second click: ascending; "abc" against a number is text, 1.9 reads as 1
        EXPECT_EQ(ColumnTexts(0), (QStringList { "-3", "1.9", "9", "10", "abc" }));
    }

    TEST_F(ListSort, RecordsItemDataAndSelectionTravelWithTheirRowsWhileColoursStay)
    {
        list->SetOptions(SortOnHeaderClick);
        AddRows({ "b", "c", "a" });
        for (int r = 0; r < 3; ++r)
            list->SetItemData(r, 1000 + r);
        Click(CellCenter(2, 0)); // "a"
        list->GetCellInfo(0, 1).checked = 1;
        list->GetCellInfo(0, 2).comboItems = QStringList { "one", "two" };
        list->GetCellInfo(1, 0).enabled = 0;
        list->GetCellInfo(8, 0).image = 9; // outside the rows: dropped
        list->SetCellBkColor(0, 0, Qt::red);
        ClickHeader(0);
        ASSERT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        EXPECT_EQ(std::tuple(list->GetItemData(1), list->IsRowSelected(2)), std::tuple(1000u, true));
        EXPECT_TRUE(list->GetCellInfo(1, 1).checked && !list->GetCellInfo(0, 1).checked);
        EXPECT_EQ(list->GetCellInfo(1, 2).comboItems, (QStringList { "one", "two" }));
        EXPECT_FALSE(list->GetCellInfo(0, 0).enabled);
        EXPECT_EQ(
            std::tuple(list->GetCellInfo(2, 3).group, list->GetCellInfo(8, 0).image), std::tuple(3, -1));
        EXPECT_EQ(list->GetCellBkColor(0, 0), QColor(Qt::red));
    }

    TEST_F(ListSort, ANewRowGoesWhereTheLastHeaderSortPutsIt)
    {
        list->SetOptions(SortOnHeaderClick);
        list->SetColumnSortMode(1, SortMode::Natural);
        AddRows({ "1", "2", "3" });
        const QStringList ips { "198.18.0.10", "198.18.0.9", "198.18.0.2" };
        for (int r = 0; r < 3; ++r)
            list->SetItemText(r, 1, ips[r]);
        EXPECT_EQ(list->SortedInsertPosition({ "4", "198.18.0.1" }), 3) << "no sort yet: the end";
        ClickHeader(1);
        for (const QString ip : { "198.18.0.3", "198.18.0.11", "198.18.0.1" })
            list->SetItemText(list->InsertItem(list->SortedInsertPosition({ "", ip }), ""), 1, ip);
        EXPECT_EQ(
            ColumnTexts(1).join(' '), "198.18.0.11 198.18.0.10 198.18.0.9 198.18.0.3 198.18.0.2 198.18.0.1");
        ClickHeader(1);
        EXPECT_EQ(list->SortedInsertPosition({ "", "198.18.0.4" }), 3);
    }

} // namespace
} // namespace ListCtrlEx::test
