// Clicks on cells and headers: check states, sorting, notifications.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    class ListClicks : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            AddRows({ "0", "1", "2", "3" });
            list->SetColumnType(1, ColumnType::CheckBox);
            list->SetColumnType(2, ColumnType::Radio);
            list->SetColumnType(3, ColumnType::Radio);
        }
        bool Checked(int row, int column) { return list->GetCellInfo(row, column).checked != 0; }

        QSignalSpy clicks { list.get(), &CListCtrlEx::listExClick };
        QSignalSpy doubleClicks { list.get(), &CListCtrlEx::listExDblClick };
        QSignalSpy checkSets { list.get(), &CListCtrlEx::listExCheckSet };
        QSignalSpy checkClicks { list.get(), &CListCtrlEx::listExCheckClick };
    };

    TEST_F(ListClicks, ADoubleClickAnywhereInACellGridLinesIncludedHitsItOnceTheEventLoopTurns)
    {
        const int bottom = list->rowViewportPosition(1) + list->rowHeight(1) - 1;
        for (int c = 0; c < 4; ++c) {
            const int right = list->columnViewportPosition(c) + list->columnWidth(c) - 1;
            const QPoint mid = Center(1, c);
            for (const QPoint at :
                { mid, QPoint(mid.x(), bottom), QPoint(right, mid.y()), QPoint(right, bottom) }) {
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                EXPECT_TRUE(doubleClicks.isEmpty());
                QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 1, 2000);
                EXPECT_EQ(PosAt(doubleClicks, 0), (CellPos { 1, c })) << at.x() << "," << at.y();
                doubleClicks.clear();
            }
        }
        EXPECT_TRUE(clicks.isEmpty()) << "a double click's own press is not a click";
        EXPECT_EQ(std::tuple(Cell(1, 0).right(), list->GetColumnFormat(0)),
            std::tuple(Cell(1, 1).left() - 1, LVCFMT_CENTER));
        const QPoint nowhere(5, list->rowViewportPosition(3) + 60); // beside the rows: sent, with no cell
        Click(nowhere);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, nowhere);
        QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 1, 2000);
        EXPECT_EQ(std::tuple(PosAt(clicks, 0), PosAt(doubleClicks, 0)), std::tuple(CellPos {}, CellPos {}));
    }

    TEST_F(ListClicks, CheckBoxTogglesOnlyInsideItsClickSquareWhenEnabledAndWithoutShiftOrCtrl)
    {
        const int left = Cell(0, 1).left(), h = Cell(0, 1).height();
        const std::tuple<int, Qt::KeyboardModifiers, bool> cases[] = { { left + 6, {}, false },
            { left + 7, {}, true }, { left + 6 + h, {}, true }, { left + 7 + h, {}, false },
            { left + 9, Qt::ShiftModifier, false }, { left + 9, Qt::ControlModifier, false } };
        bool expected = false;
        for (const auto& [x, modifiers, toggles] : cases) {
            Click(QPoint(x, Center(0, 1).y()), modifiers);
            EXPECT_EQ(Checked(0, 1), expected ^= toggles) << "x offset " << x - left;
        }
        EXPECT_EQ(clicks.count(), 4) << "none for Shift or Ctrl";
        ASSERT_EQ(checkSets.count(), 2);
        EXPECT_EQ(std::tuple(CheckedAt(checkSets, 0), CheckedAt(checkClicks, 0)), std::tuple(1, 2));
        EXPECT_EQ(std::tuple(CheckedAt(checkSets, 1), CheckedAt(checkClicks, 1)), std::tuple(0, 0));
        list->GetCellInfo(1, 1).enabled = 0; // disabled: only the click
        Click(QPoint(left + 9, Center(1, 1).y()));
        EXPECT_EQ(std::tuple(Checked(1, 1), PosAt(clicks, 4), checkSets.count()),
            std::tuple(false, CellPos { 1, 1 }, 2));
    }

    TEST_F(ListClicks, RadioCellsOfAGroupExcludeEachOtherAcrossColumns)
    {
        const QPoint square(Cell(0, 2).left() + 9, Center(0, 2).y());
        Click(square);
        Click(square); // a checked radio stays checked, and says so
        list->SetCheck(3, 2, true);
        list->SetCheck(1, 3, false); // radios always end up checked; each column its own group
        list->SetCheck(1, 3, true);
        EXPECT_EQ(std::tuple(Checked(0, 2), Checked(3, 2), Checked(1, 3)), std::tuple(false, true, true));
        EXPECT_EQ(std::tuple(CheckedAt(checkClicks, 1), CheckedAt(checkSets, 1)), std::tuple(2, 1));
        for (int r = 0; r < 4; ++r)
            list->GetCellInfo(r, 2).group = list->GetCellInfo(r, 3).group = r == 0 ? 8 : 7;
        list->SetCheck(0, 3, true);
        list->SetCheck(2, 3, true);
        EXPECT_EQ(std::tuple(Checked(3, 2), Checked(1, 3), Checked(2, 3), Checked(0, 3)),
            std::tuple(false, false, true, true));
    }

    TEST_F(ListFixture, FirstClickSortsDescendingEachColumnKeepsItsDirectionNumbersByValue)
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

    TEST_F(ListFixture, RecordsItemDataAndSelectionTravelWithTheirRowsWhileColoursStay)
    {
        list->SetOptions(SortOnHeaderClick);
        AddRows({ "b", "c", "a" });
        for (int r = 0; r < 3; ++r)
            list->SetItemData(r, 1000 + r);
        Click(Center(2, 0)); // "a"
        list->GetCellInfo(0, 1).checked = 1;
        list->GetCellInfo(8, 0).image = 9; // outside the rows: dropped
        list->SetCellBkColor(0, 0, Qt::red);
        ClickHeader(0);
        ASSERT_EQ(ColumnTexts(0), (QStringList { "c", "b", "a" }));
        EXPECT_EQ(std::tuple(list->GetItemData(1), list->IsRowSelected(2)), std::tuple(1000u, true));
        EXPECT_TRUE(list->GetCellInfo(1, 1).checked && !list->GetCellInfo(0, 1).checked);
        EXPECT_EQ(
            std::tuple(list->GetCellInfo(2, 3).group, list->GetCellInfo(8, 0).image), std::tuple(3, -1));
        list->SetColumnType(1, ColumnType::CheckBox);
        list->DeleteAllItems(); // records go; kinds and colours stay
        AddRows({ "x" });
        EXPECT_EQ(std::tuple(bool(list->GetCellInfo(0, 1).checked), list->GetColumnType(1),
                      list->GetCellBkColor(0, 0)),
            std::tuple(false, ColumnType::CheckBox, QColor(Qt::red)));
    }

    TEST_F(ListFixture, ANewRowGoesWhereTheLastHeaderSortPutsIt)
    {
        list->SetOptions(SortOnHeaderClick);
        list->SetColumnSortMode(0, SortMode::NumberAware);
        AddRows({ "10", "9", "2" });
        EXPECT_EQ(list->SortedInsertPosition({ "1" }), 3) << "no sort yet: the end";
        ClickHeader(0);
        for (const QString number : { "3", "11", "1" })
            list->InsertItem(list->SortedInsertPosition({ number }), number);
        EXPECT_EQ(ColumnTexts(0).join(' '), "11 10 9 3 2 1");
        ClickHeader(0);
        EXPECT_EQ(list->SortedInsertPosition({ "4" }), 3);
    }

} // namespace
} // namespace ListCtrlEx::test
