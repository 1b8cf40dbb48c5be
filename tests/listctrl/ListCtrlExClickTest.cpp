// Mouse clicks, check states and the notifications they send.
#include "ListCtrlExTestSupport.h"

#include <optional>

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
            clicks.emplace(list.get(), &CListCtrlEx::listExClick);
            checkSets.emplace(list.get(), &CListCtrlEx::listExCheckSet);
            checkClicks.emplace(list.get(), &CListCtrlEx::listExCheckClick);
        }

        // A point inside the click square of a check-box or radio cell.
        QPoint InSquare(int row, int column) const
        {
            const QRect cell = Cell(row, column);
            return QPoint(cell.left() + 7 + cell.height() / 2, cell.center().y());
        }

        bool Checked(int row, int column) { return list->GetCellInfo(row, column).checked != 0; }

        std::optional<QSignalSpy> clicks;
        std::optional<QSignalSpy> checkSets;
        std::optional<QSignalSpy> checkClicks;
    };

    TEST_F(ListClicks, LeftClickIsSentWithTheHitCellButNotForShiftOrCtrl)
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

        // Shift/Ctrl clicks select but send and toggle nothing.
        for (Qt::KeyboardModifier modifier : { Qt::ShiftModifier, Qt::ControlModifier }) {
            list->clearSelection();
            Click(InSquare(1, 1), modifier);
            EXPECT_TRUE(list->IsRowSelected(1));
            EXPECT_FALSE(Checked(1, 1));
        }
        EXPECT_EQ(clicks->count(), 2);
        EXPECT_EQ(checkSets->count() + checkClicks->count(), 0);
    }

    TEST_F(ListClicks, CheckBoxTogglesOnlyInsideItsClickSquare)
    {
        list->SetColumnType(0, static_cast<ColumnType>(42)); // unknown kinds act as text
        const QRect cell = Cell(0, 1);
        const int h = cell.height();
        const struct {
            int column;
            int x;
            bool toggles;
        } cases[] = {
            { 1, cell.left() + 6, false }, // the first 7 pixels
            { 1, cell.left() + 7, true }, // square's left edge
            { 1, cell.left() + 7 + h - 1, true }, // square's right edge
            { 1, cell.left() + 7 + h, false }, // just right of it
            { 1, cell.right() - 2, false },
            { 0, Cell(0, 0).left() + 7 + h / 2, false },
        };
        bool expected = false;
        for (const auto& c : cases) {
            Click(QPoint(c.x, cell.center().y()));
            expected ^= c.toggles;
            EXPECT_EQ(Checked(0, 1), expected) << "x offset " << c.x - cell.left();
            EXPECT_FALSE(Checked(0, 0));
        }
        EXPECT_EQ(clicks->count(), 6);
        EXPECT_EQ(checkSets->count(), 2);
        EXPECT_EQ(checkClicks->count(), 2);
    }

    TEST_F(ListClicks, CheckBoxClickSendsCheckSetThenCheckClickThenClick)
    {
        std::vector<QString> order;
        QObject::connect(list.get(), &CListCtrlEx::listExCheckSet, [&] { order.push_back("set"); });
        QObject::connect(list.get(), &CListCtrlEx::listExCheckClick, [&] { order.push_back("checkclick"); });
        QObject::connect(list.get(), &CListCtrlEx::listExClick, [&] { order.push_back("click"); });

        Click(InSquare(2, 1));
        EXPECT_EQ(order, (std::vector<QString> { "set", "checkclick", "click" }));
        ASSERT_EQ(checkSets->count(), 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).row, 2);
        EXPECT_EQ(CheckAt(*checkSets, 0).column, 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).checked, 1);
        EXPECT_EQ(CheckAt(*checkClicks, 0).checked, 2);

        Click(InSquare(2, 1));
        EXPECT_FALSE(Checked(2, 1));
        EXPECT_EQ(CheckAt(*checkSets, 1).checked, 0);
        EXPECT_EQ(CheckAt(*checkClicks, 1).checked, 0);

        // A disabled cell changes nothing but still sends the click.
        list->GetCellInfo(1, 1).enabled = 0;
        Click(InSquare(1, 1));
        EXPECT_FALSE(Checked(1, 1));
        EXPECT_EQ(checkSets->count(), 2);
        EXPECT_EQ(checkClicks->count(), 2);
        ASSERT_EQ(clicks->count(), 3);
        EXPECT_EQ(PosAt(*clicks, 2), (CellPos { 1, 1 }));
    }

    TEST_F(ListClicks, RadioGroupsExcludeEachOtherAcrossColumns)
    {
        // With default groups each radio column is a group of its own.
        Click(InSquare(0, 2));
        Click(InSquare(3, 2));
        Click(InSquare(1, 3));
        EXPECT_FALSE(Checked(0, 2));
        EXPECT_TRUE(Checked(3, 2));
        EXPECT_TRUE(Checked(1, 3));

        // A click on a checked radio keeps it checked and reports it.
        Click(InSquare(1, 3));
        EXPECT_TRUE(Checked(1, 3));
        EXPECT_EQ(CheckAt(*checkSets, 3).checked, 1);
        EXPECT_EQ(CheckAt(*checkClicks, 3).checked, 2);

        for (int r = 0; r < 4; ++r) {
            list->GetCellInfo(r, 2).group = 7;
            list->GetCellInfo(r, 3).group = 7;
        }
        list->GetCellInfo(0, 3).group = 8; // another group in the same column
        Click(InSquare(0, 3));
        Click(InSquare(1, 2));
        Click(InSquare(2, 3));
        EXPECT_FALSE(Checked(1, 2));
        EXPECT_FALSE(Checked(3, 2));
        EXPECT_TRUE(Checked(2, 3));
        EXPECT_TRUE(Checked(0, 3));
    }

    TEST_F(ListClicks, SetCheckReportsOnlyForCellsItCanShow)
    {
        list->SetCheck(3, 1, true);
        ASSERT_EQ(checkSets->count(), 1);
        EXPECT_EQ(CheckAt(*checkSets, 0).checked, 1);

        // A row that does not exist stores the state silently.
        list->SetCheck(9, 1, true);
        EXPECT_TRUE(Checked(9, 1));
        EXPECT_EQ(checkSets->count(), 1);

        // Radio cells always end up checked; text cells are left alone.
        list->SetCheck(1, 2, false);
        EXPECT_TRUE(Checked(1, 2));
        EXPECT_EQ(CheckAt(*checkSets, 1).checked, 1);
        list->SetCheck(1, 0, true);
        EXPECT_FALSE(Checked(1, 0));
        EXPECT_EQ(checkSets->count(), 2);
        EXPECT_EQ(checkClicks->count(), 0);
    }

    TEST_F(ListClicks, DoubleAndRightClicksArriveOnlyAfterTheEventLoopTurns)
    {
        QSignalSpy doubleClicks(list.get(), &CListCtrlEx::listExDblClick);
        QSignalSpy rightClicks(list.get(), &CListCtrlEx::listExRClick);
        const QPoint nowhere = Cell(3, 0).bottomLeft() + QPoint(5, 40);

        Click(CellCenter(1, 3));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, CellCenter(1, 3));
        Click(CellCenter(2, 0), {}, Qt::RightButton);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, nowhere);
        Click(nowhere, {}, Qt::RightButton);
        EXPECT_EQ(doubleClicks.count(), 0);
        EXPECT_EQ(rightClicks.count(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 2, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(rightClicks.count(), 2, 2000);
        EXPECT_EQ(PosAt(doubleClicks, 0), (CellPos { 1, 3 }));
        EXPECT_EQ(PosAt(rightClicks, 0), (CellPos { 2, 0 }));
        // Beside the rows both still arrive, with no cell.
        EXPECT_EQ(PosAt(doubleClicks, 1), CellPos {});
        EXPECT_EQ(PosAt(rightClicks, 1), CellPos {});
        // A double click's own press is not a second click.
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

namespace ListCtrlEx::test {
namespace {

    TEST_F(ListClicks, GridLinePixelsHitTheCellTheyBound)
    {
        QSignalSpy doubleClicks(list.get(), &CListCtrlEx::listExDblClick);
        const int bottom = list->rowViewportPosition(1) + list->rowHeight(1) - 1;
        for (int c = 0; c < 4; ++c) {
            const int right = list->columnViewportPosition(c) + list->columnWidth(c) - 1;
            const int x = CellCenter(1, c).x();
            const int y = CellCenter(1, c).y();
            for (const QPoint point : { QPoint(x, bottom), QPoint(right, y), QPoint(right, bottom) }) {
                SCOPED_TRACE(testing::Message() << "column " << c << " at " << point.x() << "," << point.y());
                Click(point);
                ASSERT_FALSE(clicks->isEmpty());
                EXPECT_EQ(PosAt(*clicks, clicks->count() - 1), (CellPos { 1, c }));
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
                QTRY_COMPARE_WITH_TIMEOUT(doubleClicks.count(), 1, 2000);
                EXPECT_EQ(PosAt(doubleClicks, 0), (CellPos { 1, c }));
                doubleClicks.clear();
            }
        }
    }

} // namespace
} // namespace ListCtrlEx::test
