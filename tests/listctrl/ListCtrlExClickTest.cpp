// Mouse clicks, check states and the notifications they send.
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
        // A point inside the click square of a check-box or radio cell.
        QPoint InSquare(int row, int column) const { return CellCenter(row, column) - QPoint(50, 0); }
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
            const QPoint mid = CellCenter(1, c);
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
        // Beside the rows every click still arrives, with no cell.
        QSignalSpy rightClicks(list.get(), &CListCtrlEx::listExRClick);
        const QPoint nowhere(5, list->rowViewportPosition(3) + 60);
        Click(nowhere);
        Click(nowhere, {}, Qt::RightButton);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, nowhere);
        QTRY_COMPARE_WITH_TIMEOUT(rightClicks.count() + doubleClicks.count(), 2, 2000);
        for (const QSignalSpy* spy : { &clicks, &rightClicks, &doubleClicks })
            EXPECT_EQ(PosAt(*spy, 0), CellPos {});
    }

    TEST_F(ListClicks, CheckBoxTogglesOnlyInsideItsClickSquareWhenEnabledAndWithoutShiftOrCtrl)
    {
        const int left = Cell(0, 1).left(), h = Cell(0, 1).height();
        const std::tuple<int, Qt::KeyboardModifiers, bool> cases[] = { { left + 6, {}, false },
            { left + 7, {}, true }, { left + 6 + h, {}, true }, { left + 7 + h, {}, false },
            { left + 9, Qt::ShiftModifier, false }, { left + 9, Qt::ControlModifier, false } };
        bool expected = false;
        for (const auto& [x, modifiers, toggles] : cases) {
            Click(QPoint(x, CellCenter(0, 1).y()), modifiers);
            EXPECT_EQ(Checked(0, 1), expected ^= toggles) << "x offset " << x - left;
        }
        EXPECT_EQ(clicks.count(), 4) << "none for Shift or Ctrl";
        ASSERT_EQ(checkSets.count(), 2);
        EXPECT_EQ(std::tuple(CheckedAt(checkSets, 0), CheckedAt(checkClicks, 0)), std::tuple(1, 2));
        EXPECT_EQ(std::tuple(CheckedAt(checkSets, 1), CheckedAt(checkClicks, 1)), std::tuple(0, 0));
        list->GetCellInfo(1, 1).enabled = 0; // disabled: only the click
        Click(InSquare(1, 1));
        EXPECT_FALSE(Checked(1, 1));
        EXPECT_EQ(PosAt(clicks, 4), (CellPos { 1, 1 }));
        EXPECT_EQ(checkSets.count(), 2);
    }

    TEST_F(ListClicks, RadioCellsOfAGroupExcludeEachOtherAcrossColumns)
    {
        const QPoint square(Cell(0, 2).left() + 9, CellCenter(0, 2).y());
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
        list->SetCheck(9, 1, true); // a check box in no row: stored silently
        EXPECT_TRUE(Checked(9, 1));
        EXPECT_EQ(checkSets.count(), 7);
    }

} // namespace
} // namespace ListCtrlEx::test
