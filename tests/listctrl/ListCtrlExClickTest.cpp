// Mouse clicks, check states and the notifications they send.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    class ListClicks : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            AddRows(4);
            list->SetColumnType(1, ColumnType::CheckBox);
            list->SetColumnType(2, ColumnType::Radio);
            list->SetColumnType(3, ColumnType::Radio);
            clicks = std::make_unique<QSignalSpy>(list.get(), &CListCtrlEx::listExClick);
            checkSets = std::make_unique<QSignalSpy>(list.get(), &CListCtrlEx::listExCheckSet);
            checkClicks = std::make_unique<QSignalSpy>(list.get(), &CListCtrlEx::listExCheckClick);
        }

        // A point inside the click square of a check-box or radio cell.
        QPoint InSquare(int row, int column) const
        {
            const QRect cell = Cell(row, column);
            return QPoint(cell.left() + 7 + cell.height() / 2, cell.center().y());
        }

        std::unique_ptr<QSignalSpy> clicks;
        std::unique_ptr<QSignalSpy> checkSets;
        std::unique_ptr<QSignalSpy> checkClicks;
    };

    TEST_F(ListClicks, LeftClickIsSentWithTheHitCellBeforeTheClickReturns)
    {
        Click(CellCenter(2, 0));
        ASSERT_EQ(clicks->count(), 1);
        EXPECT_EQ(clicks->at(0).at(0).value<CListCtrlEx*>(), list.get());
        EXPECT_EQ(PosAt(*clicks, 0), (CellPos { 2, 0 }));
        EXPECT_TRUE(list->IsRowSelected(2));

        // Beside the rows: still sent, with no cell.
        Click(Cell(3, 0).bottomLeft() + QPoint(5, 40));
        ASSERT_EQ(clicks->count(), 2);
        EXPECT_EQ(PosAt(*clicks, 1), CellPos {});
    }

    TEST_F(ListClicks, ShiftOrCtrlClickSelectsButSendsAndTogglesNothing)
    {
        for (Qt::KeyboardModifier modifier : { Qt::ShiftModifier, Qt::ControlModifier }) {
            list->clearSelection();
            Click(InSquare(1, 1), modifier);
            EXPECT_TRUE(list->IsRowSelected(1));
            EXPECT_FALSE(list->GetCellInfo(1, 1).checked);
        }
        EXPECT_EQ(clicks->count(), 0);
        EXPECT_EQ(checkSets->count(), 0);
        EXPECT_EQ(checkClicks->count(), 0);
    }

    TEST_F(ListClicks, CheckBoxTogglesOnlyInsideItsClickSquare)
    {
        const QRect cell = Cell(0, 1);
        const int h = cell.height();
        const int y = cell.center().y();
        const struct {
            int x;
            bool toggles;
        } cases[] = {
            { cell.left() + 3, false }, // the first 7 pixels
            { cell.left() + 6, false },
            { cell.left() + 7, true }, // square's left edge
            { cell.left() + 7 + h - 1, true }, // square's right edge
            { cell.left() + 7 + h, false }, // just right of it
            { cell.right() - 2, false },
        };
        bool expected = false;
        for (const auto& c : cases) {
            const int sentBefore = clicks->count();
            Click(QPoint(c.x, y));
            if (c.toggles)
                expected = !expected;
            EXPECT_EQ(bool(list->GetCellInfo(0, 1).checked), expected) << "x offset " << c.x - cell.left();
            EXPECT_EQ(clicks->count(), sentBefore + 1);
        }
        EXPECT_EQ(checkSets->count(), 2);
        EXPECT_EQ(checkClicks->count(), 2);
    }

    TEST_F(ListClicks, CheckBoxClickSendsCheckSetThenCheckClick)
    {
        std::vector<QString> order;
        QObject::connect(
            list.get(), &CListCtrlEx::listExCheckSet, list.get(), [&] { order.push_back("set"); });
        QObject::connect(
            list.get(), &CListCtrlEx::listExCheckClick, list.get(), [&] { order.push_back("checkclick"); });
        QObject::connect(
            list.get(), &CListCtrlEx::listExClick, list.get(), [&] { order.push_back("click"); });

        Click(InSquare(2, 1));
        EXPECT_EQ(order, (std::vector<QString> { "set", "checkclick", "click" }));
        ASSERT_EQ(checkSets->count(), 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).row, 2);
        EXPECT_EQ(CheckAt(*checkSets, 0).column, 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).checked, 1);
        EXPECT_EQ(CheckAt(*checkClicks, 0).checked, 2);

        Click(InSquare(2, 1));
        EXPECT_FALSE(list->GetCellInfo(2, 1).checked);
        EXPECT_EQ(CheckAt(*checkSets, 1).checked, 0);
        EXPECT_EQ(CheckAt(*checkClicks, 1).checked, 0);
    }

    TEST_F(ListClicks, DisabledCheckBoxChangesNothingButStillSendsClick)
    {
        list->GetCellInfo(1, 1).enabled = 0;
        Click(InSquare(1, 1));
        EXPECT_FALSE(list->GetCellInfo(1, 1).checked);
        EXPECT_EQ(checkSets->count(), 0);
        EXPECT_EQ(checkClicks->count(), 0);
        ASSERT_EQ(clicks->count(), 1);
        EXPECT_EQ(PosAt(*clicks, 0), (CellPos { 1, 1 }));
    }

    TEST_F(ListClicks, TextColumnsToggleNothing)
    {
        list->SetColumnType(1, static_cast<ColumnType>(42)); // unknown kinds act as text
        Click(InSquare(0, 1));
        Click(InSquare(0, 0));
        EXPECT_FALSE(list->GetCellInfo(0, 1).checked);
        EXPECT_EQ(checkSets->count(), 0);
        EXPECT_EQ(clicks->count(), 2);
    }

    TEST_F(ListClicks, RadioCellsOfOneColumnExcludeEachOther)
    {
        Click(InSquare(0, 2));
        Click(InSquare(3, 2));
        EXPECT_FALSE(list->GetCellInfo(0, 2).checked);
        EXPECT_TRUE(list->GetCellInfo(3, 2).checked);
        // With default groups the other radio column is a group of its own.
        Click(InSquare(1, 3));
        EXPECT_TRUE(list->GetCellInfo(3, 2).checked);
        EXPECT_TRUE(list->GetCellInfo(1, 3).checked);
    }

    TEST_F(ListClicks, RadioGroupsReachAcrossColumns)
    {
        for (int r = 0; r < 4; ++r) {
            list->GetCellInfo(r, 2).group = 7;
            list->GetCellInfo(r, 3).group = 7;
        }
        list->GetCellInfo(0, 3).group = 8; // another group in the same column

        Click(InSquare(0, 3));
        Click(InSquare(1, 2));
        Click(InSquare(2, 3));
        EXPECT_FALSE(list->GetCellInfo(1, 2).checked);
        EXPECT_TRUE(list->GetCellInfo(2, 3).checked);
        EXPECT_TRUE(list->GetCellInfo(0, 3).checked);
    }

    TEST_F(ListClicks, ClickOnACheckedRadioKeepsItCheckedAndReportsIt)
    {
        Click(InSquare(2, 2));
        Click(InSquare(2, 2));
        EXPECT_TRUE(list->GetCellInfo(2, 2).checked);
        ASSERT_EQ(checkSets->count(), 2);
        EXPECT_EQ(CheckAt(*checkSets, 1).checked, 1);
        EXPECT_EQ(CheckAt(*checkClicks, 1).checked, 2);
    }

    TEST_F(ListClicks, SetCheckReportsOnlyForCellsItCanShow)
    {
        list->SetCheck(3, 1, true);
        ASSERT_EQ(checkSets->count(), 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).checked, 1);

        // A row that does not exist stores the state silently.
        list->SetCheck(9, 1, true);
        EXPECT_TRUE(list->GetCellInfo(9, 1).checked);
        EXPECT_EQ(checkSets->count(), 1);

        // Radio cells always end up checked; text cells are left alone.
        list->SetCheck(1, 2, false);
        EXPECT_TRUE(list->GetCellInfo(1, 2).checked);
        EXPECT_EQ(CheckAt(*checkSets, 1).checked, 1);
        list->SetCheck(1, 0, true);
        EXPECT_FALSE(list->GetCellInfo(1, 0).checked);
        EXPECT_EQ(checkSets->count(), 2);
        EXPECT_EQ(checkClicks->count(), 0);
    }

    TEST_F(ListClicks, DoubleAndRightClicksArriveOnlyAfterTheEventLoopTurns)
    {
        QSignalSpy doubleClicks(list.get(), &CListCtrlEx::listExDblClick);
        QSignalSpy rightClicks(list.get(), &CListCtrlEx::listExRClick);

        Click(CellCenter(1, 3));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, CellCenter(1, 3));
        Click(CellCenter(2, 0), {}, Qt::RightButton);
        EXPECT_EQ(doubleClicks.count(), 0);
        EXPECT_EQ(rightClicks.count(), 0);
        // The double click's own press is not a second click.
        EXPECT_EQ(clicks->count(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 1, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(rightClicks.count(), 1, 2000);
        EXPECT_EQ(PosAt(doubleClicks, 0), (CellPos { 1, 3 }));
        EXPECT_EQ(PosAt(rightClicks, 0), (CellPos { 2, 0 }));

        // Beside the rows both still arrive, with no cell.
        const QPoint nowhere = Cell(3, 0).bottomLeft() + QPoint(5, 40);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, nowhere);
        Click(nowhere, {}, Qt::RightButton);
        QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 2, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(rightClicks.count(), 2, 2000);
        EXPECT_EQ(PosAt(doubleClicks, 1), CellPos {});
        EXPECT_EQ(PosAt(rightClicks, 1), CellPos {});
        EXPECT_EQ(clicks->count(), 1);
    }

    TEST_F(ListClicks, QueuedNotificationsDieWithTheList)
    {
        Click(CellCenter(1, 1), {}, Qt::RightButton);
        int delivered = 0;
        QObject::connect(list.get(), &CListCtrlEx::listExRClick, [&] { ++delivered; });
        list.reset();
        QCoreApplication::processEvents();
        EXPECT_EQ(delivered, 0);
    }

} // namespace
} // namespace ListCtrlEx::test
