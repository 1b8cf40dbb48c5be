// Header-click sorting and what travels with the rows.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    class ListSort : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            list->SetOptions(SortOnHeaderClick);
        }
    };

    TEST_F(ListSort, HeaderClickDoesNothingUnlessSwitchedOn)
    {
        list->SetOptions(0);
        AddRows({ "b", "c", "a" });
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "b", "c", "a" }));
        EXPECT_EQ(list->GetColumnSort(0).ascending, 1u);
    }

    TEST_F(ListSort, FirstClickSortsDescendingAndEachFurtherClickReverses)
    {
        AddRows({ "b", "c", "a" });
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        EXPECT_EQ(list->GetColumnSort(0).ascending, 0u);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "a", "b", "c" }));
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
    }

    TEST_F(ListSort, EveryColumnKeepsItsOwnDirection)
    {
        AddRows({ "b", "c", "a" });
        list->SetItemText(0, 1, QStringLiteral("y"));
        list->SetItemText(1, 1, QStringLiteral("x"));
        list->SetItemText(2, 1, QStringLiteral("z"));
        ClickHeader(0); // descending
        ClickHeader(1); // descending
        EXPECT_EQ(ColumnTexts(1), (QStringList { "z", "y", "x" }));
        ClickHeader(0); // ascending now
        EXPECT_EQ(ColumnTexts(0), (QStringList { "a", "b", "c" }));
        EXPECT_EQ(list->GetColumnSort(1).ascending, 0u);
    }

    TEST_F(ListSort, TextModeOrdersByCodeUnits)
    {
        AddRows({ "9", "10", "-3", "abc", "B" });
        ClickHeader(0);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "-3", "10", "9", "B", "abc" }));
    }

    TEST_F(ListSort, NumberAwareModeOrdersNumbersByValue)
    {
        list->SetColumnSortMode(0, SortMode::NumberAware);
        AddRows({ "9", "10", "-3" });
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "10", "9", "-3" }));
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "-3", "9", "10" }));
    }

    TEST_F(ListSort, NumberAwareFallsBackToTextForOtherTexts)
    {
        list->SetColumnSortMode(0, SortMode::NumberAware);
        AddRows({ "abc", "10" });
        ClickHeader(0);
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "10", "abc" }));

        const SortContext context { SortMode::NumberAware, 1, 0, list.get() };
        list->SetItemText(0, 0, QStringLiteral("1.9"));
        list->SetItemText(1, 0, QStringLiteral("1.2"));
        EXPECT_EQ(list->CompareRows(0, 1, context), 0);
        EXPECT_EQ(list->CompareRows(1, 0, context), 0);
    }

    TEST_F(ListSort, InsertColumnKeepsTheColumnsDirection)
    {
        AddRows({ "b", "a" });
        ClickHeader(1);
        EXPECT_EQ(list->GetColumnSort(1).ascending, 0u);
        list->SetColumnSortMode(1, SortMode::NumberAware);
        list->InsertColumn(1, QStringLiteral("New"), 40);
        EXPECT_EQ(list->GetColumnSort(1).ascending, 0u);
        EXPECT_EQ(list->GetColumnSort(1).mode, SortMode::Text);
    }

    TEST_F(ListSort, RecordsAndItemDataTravelWithTheirRowsWhileColoursStay)
    {
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnType(2, ColumnType::Combo);
        list->SetColumnType(3, ColumnType::Progress);
        AddRows({ "b", "c", "a" }); // rows 0, 1, 2
        for (int r = 0; r < 3; ++r)
            list->SetItemData(r, 1000 + r);

        CellInfo& onB = list->GetCellInfo(0, 1);
        onB.checked = 1;
        onB.image = 3;
        list->GetCellInfo(0, 2).comboItems = QStringList { "one", "two" };
        list->GetCellInfo(0, 2).validChars = QStringLiteral("01");
        list->GetCellInfo(1, 3).progressPos = 40;
        list->GetCellInfo(1, 3).progressMax = 80;
        list->GetCellInfo(1, 0).enabled = 0;
        list->GetCellInfo(2, 3).group = 5;
        list->GetCellInfo(8, 0).image = 9; // outside the rows
        list->SetCellBkColor(0, 0, Qt::red);
        list->SetCellBkColor(2, 3, Qt::green);

        ClickHeader(0); // c, b, a
        ASSERT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));

        EXPECT_EQ(list->GetItemData(0), 1001u);
        EXPECT_EQ(list->GetItemData(1), 1000u);
        EXPECT_EQ(list->GetItemData(2), 1002u);
        EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("r0c1"));

        EXPECT_TRUE(list->GetCellInfo(1, 1).checked);
        EXPECT_EQ(list->GetCellInfo(1, 1).image, 3);
        EXPECT_EQ(list->GetCellInfo(1, 2).comboItems, (QStringList { "one", "two" }));
        EXPECT_EQ(list->GetCellInfo(1, 2).validChars, QStringLiteral("01"));
        EXPECT_EQ(list->GetCellInfo(0, 3).progressPos, 40u);
        EXPECT_EQ(list->GetCellInfo(0, 3).progressMax, 80u);
        EXPECT_FALSE(list->GetCellInfo(0, 0).enabled);
        EXPECT_EQ(list->GetCellInfo(2, 3).group, 5);
        EXPECT_FALSE(list->GetCellInfo(0, 1).checked);
        EXPECT_TRUE(list->GetCellInfo(2, 0).enabled);

        // Every cell has its record now; the one outside the rows is gone.
        EXPECT_EQ(list->GetCellInfoCount(), 12u);
        EXPECT_FALSE(list->HasCellInfo(8, 0));

        EXPECT_EQ(list->GetCellBkColor(0, 0), QColor(Qt::red));
        EXPECT_EQ(list->GetCellBkColor(2, 3), QColor(Qt::green));
        EXPECT_NE(list->GetCellBkColor(1, 0), QColor(Qt::red));
    }

    TEST_F(ListSort, CellsWithoutRecordsKeepTheirColumnAsRadioGroup)
    {
        list->SetColumnType(2, ColumnType::Radio);
        list->SetColumnType(3, ColumnType::Radio);
        AddRows({ "b", "a" });
        ClickHeader(0);
        EXPECT_EQ(list->GetCellInfo(0, 2).group, 2);
        EXPECT_EQ(list->GetCellInfo(1, 3).group, 3);
        list->SetCheck(0, 2, true);
        list->SetCheck(0, 3, true);
        EXPECT_TRUE(list->GetCellInfo(0, 2).checked);
    }

    TEST_F(ListSort, SelectionFollowsItsRow)
    {
        AddRows({ "b", "c", "a" });
        Click(CellCenter(2, 1)); // "a"
        ClickHeader(0);
        EXPECT_TRUE(list->IsRowSelected(2));
        ClickHeader(0);
        EXPECT_TRUE(list->IsRowSelected(0));
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("a"));
    }

    TEST_F(ListSort, EqualRowsKeepTheirOrder)
    {
        list->SetColumnSortMode(0, SortMode::NumberAware);
        AddRows({ "1.9", "1.2", "1" });
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "1.9", "1.2", "1" }));
        ClickHeader(0);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "1.9", "1.2", "1" }));
    }

} // namespace
} // namespace ListCtrlEx::test
