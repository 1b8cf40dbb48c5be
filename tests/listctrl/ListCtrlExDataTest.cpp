// Rows, columns, cell records and geometry of the list.
#include "ListCtrlExTestSupport.h"

#include "ListModel.h"

#include <QHeaderView>

namespace ListCtrlEx::test {
namespace {

    static_assert(WM_LISTEX_CLICK == 9025 && WM_LISTEX_DBLCLICK == 9026 && WM_LISTEX_RCLICK == 9027);
    static_assert(WM_LISTEX_CHECKSET == 9028 && WM_LISTEX_CHECKCLICK == 9030);
    static_assert(WM_LISTEX_ENDEDIT == 9032 && WM_LISTEX_BEGINEDIT == 9033);

    using ListData = ListFixture;

    TEST_F(ListData, IsAReportViewWithCentredColumns)
    {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_TRUE(list->showGrid());
        EXPECT_FALSE(list->verticalHeader()->isVisible());
        EXPECT_FALSE(list->isSortingEnabled());
        EXPECT_EQ(list->horizontalHeader(), list->GetHeaderCtrl());
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(list->GetColumnFormat(c), LVCFMT_CENTER);
            EXPECT_EQ(list->columnWidth(c), 120);
            EXPECT_EQ(
                list->model()->headerData(c, Qt::Horizontal).toString(), QStringLiteral("Col %1").arg(c));
        }
        // A column that cannot report its format counts as centred.
        EXPECT_EQ(list->GetColumnFormat(9), LVCFMT_CENTER);
        EXPECT_EQ(list->GetColumnFormat(-1), LVCFMT_CENTER);
    }

    TEST_F(ListData, InsertColumnKeepsDefaultWidthForMinusOneAndAppendsBeyondEnd)
    {
        const int defaultWidth = list->horizontalHeader()->defaultSectionSize();
        EXPECT_EQ(list->InsertColumn(10, QStringLiteral("Far"), -1), 4);
        EXPECT_EQ(list->columnWidth(4), defaultWidth);
        EXPECT_EQ(list->InsertColumn(-1, QStringLiteral("Bad"), 50), -1);
        EXPECT_EQ(list->GetColumnCount(), 5);
    }

    TEST_F(ListData, RowsAreInsertedWhereAskedAndReturnTheirIndex)
    {
        EXPECT_EQ(list->InsertItem(0, QStringLiteral("b")), 0);
        EXPECT_EQ(list->InsertItem(0, QStringLiteral("a")), 0);
        EXPECT_EQ(list->InsertItem(99, QStringLiteral("d")), 2);
        EXPECT_EQ(list->InsertItem(2, QStringLiteral("c")), 2);
        EXPECT_EQ(list->InsertItem(-1, QStringLiteral("x")), -1);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "a", "b", "c", "d" }));

        EXPECT_TRUE(list->SetItemText(3, 3, QStringLiteral("fw 1.0")));
        EXPECT_EQ(list->GetItemText(3, 3), QStringLiteral("fw 1.0"));
        EXPECT_EQ(list->GetItemText(3, 2), QString());
        EXPECT_EQ(list->model()->data(list->model()->index(3, 3)).toString(), QStringLiteral("fw 1.0"));

        // Outside the list nothing is written and nothing is read.
        EXPECT_FALSE(list->SetItemText(4, 0, QStringLiteral("no row")));
        EXPECT_FALSE(list->SetItemText(0, 4, QStringLiteral("no column")));
        EXPECT_FALSE(list->SetItemText(-1, 0, QStringLiteral("no row")));
        EXPECT_EQ(list->GetItemText(7, 0), QString());
        EXPECT_EQ(list->GetItemText(0, -2), QString());
        EXPECT_EQ(list->GetItemCount(), 4);
    }

    TEST_F(ListData, ItemDataBelongsToTheRow)
    {
        AddRows(3);
        EXPECT_TRUE(list->SetItemData(1, 0xBEEF));
        EXPECT_FALSE(list->SetItemData(3, 1));
        list->InsertItem(0, QStringLiteral("new"));
        EXPECT_EQ(list->GetItemData(2), 0xBEEFu);
        EXPECT_EQ(list->GetItemData(0), 0u);
        EXPECT_EQ(list->GetItemData(17), 0u);
    }

    TEST_F(ListData, InsertedColumnMovesLaterTextsRight)
    {
        AddRows(1);
        list->InsertColumn(1, QStringLiteral("New"), 60);
        EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("0"));
        EXPECT_EQ(list->GetItemText(0, 1), QString());
        EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("r0c1"));
        EXPECT_EQ(list->GetItemText(0, 4), QStringLiteral("r0c3"));
    }

    TEST_F(ListData, GetCellInfoFillsRecordsForEveryExistingCellOnce)
    {
        AddRows(3);
        EXPECT_EQ(list->GetCellInfoCount(), 0u);

        CellInfo& info = list->GetCellInfo(1, 2);
        EXPECT_EQ(list->GetCellInfoCount(), 12u);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c)
                EXPECT_TRUE(list->HasCellInfo(r, c)) << r << "," << c;
        }
        EXPECT_TRUE(info.enabled);
        EXPECT_FALSE(info.checked);
        EXPECT_EQ(info.image, -1);
        EXPECT_EQ(info.group, 2);
        EXPECT_TRUE(info.comboItems.isEmpty());
        EXPECT_TRUE(info.validChars.isEmpty());
        EXPECT_EQ(info.progressPos, 0u);
        EXPECT_EQ(info.progressMax, 100u);

        // The record is the list's own: writes stay.
        info.validChars = QStringLiteral("0123456789");
        EXPECT_EQ(list->GetCellInfo(1, 2).validChars, QStringLiteral("0123456789"));

        // Once records exist, only the asked cell is added, also outside the list.
        list->GetCellInfo(7, 9);
        EXPECT_EQ(list->GetCellInfoCount(), 13u);
        EXPECT_EQ(list->GetCellInfo(7, 9).group, 9);
    }

    TEST_F(ListData, GetCellInfoOnAnEmptyListCreatesOnlyTheAskedRecord)
    {
        list->GetCellInfo(0, 1);
        EXPECT_EQ(list->GetCellInfoCount(), 1u);
    }

    TEST_F(ListData, DeleteAllItemsDiscardsRecordsButKeepsKindsColoursAndSortState)
    {
        AddRows(2);
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnSortMode(2, SortMode::NumberAware);
        list->SetCellBkColor(0, 0, Qt::yellow);
        list->GetCellInfo(0, 1).checked = 1;
        list->GetCellInfo(1, 3).image = 4;

        EXPECT_TRUE(list->DeleteAllItems());
        EXPECT_EQ(list->GetItemCount(), 0);
        EXPECT_EQ(list->GetCellInfoCount(), 0u);

        AddRows(2);
        EXPECT_FALSE(list->GetCellInfo(0, 1).checked);
        EXPECT_EQ(list->GetCellInfo(1, 3).image, -1);
        EXPECT_EQ(list->GetColumnType(1), ColumnType::CheckBox);
        EXPECT_EQ(list->GetColumnSort(2).mode, SortMode::NumberAware);
        EXPECT_EQ(list->GetCellBkColor(0, 0), QColor(Qt::yellow));
    }

    TEST_F(ListData, RecordsStayAtTheirPositionWhenRowsAreInsertedOrDeleted)
    {
        AddRows(3);
        list->GetCellInfo(1, 0).image = 5;
        list->InsertItem(0, QStringLiteral("top"));
        EXPECT_EQ(list->GetCellInfo(1, 0).image, 5);
        list->DeleteItem(0);
        list->DeleteItem(0);
        EXPECT_EQ(list->GetCellInfo(1, 0).image, 5);
    }

    TEST_F(ListData, ColumnKindsAndSortStateAreCreatedOnLookup)
    {
        EXPECT_EQ(list->GetColumnType(42), ColumnType::Text);
        const ColumnSort sort = list->GetColumnSort(42);
        EXPECT_EQ(sort.mode, SortMode::Text);
        EXPECT_EQ(sort.ascending, 1u);

        list->SetColumnType(2, ColumnType::Progress);
        list->SetColumnSortMode(2, SortMode::NumberAware);
        // InsertColumn resets kind and mode at its index.
        list->InsertColumn(2, QStringLiteral("Again"), 50);
        EXPECT_EQ(list->GetColumnType(2), ColumnType::Text);
        EXPECT_EQ(list->GetColumnSort(2).mode, SortMode::Text);
    }

    TEST_F(ListData, CellBackgroundDefaultsToTheWindowColour)
    {
        AddRows(1);
        const QColor window = list->palette().color(QPalette::Active, QPalette::Base);
        EXPECT_EQ(list->GetCellBkColor(0, 1), window);
        list->SetCellBkColor(0, 1, QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(list->GetCellBkColor(0, 1), QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(list->GetCellBkColor(0, 2), window);
        list->RemoveCellBkColor(0, 1);
        EXPECT_EQ(list->GetCellBkColor(0, 1), window);
    }

    TEST_F(ListData, CellRectanglesFollowTheColumns)
    {
        AddRows(3);
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(Cell(1, c), list->visualRect(list->model()->index(1, c)));
        // Column 0 reaches up to where column 1 begins.
        const QRect first = Cell(1, 0);
        EXPECT_EQ(first.left(), list->columnViewportPosition(0));
        EXPECT_EQ(first.right() + 1, Cell(1, 1).left());
        EXPECT_EQ(first.top(), Cell(1, 1).top());
        EXPECT_EQ(first.height(), Cell(1, 1).height());

        EXPECT_FALSE(list->GetCellRect(3, 0));
        EXPECT_FALSE(list->GetCellRect(-1, 1));
        EXPECT_FALSE(list->GetCellRect(0, 4));
    }

    TEST(ListSingleColumn, ColumnZeroIsTheWholeRow)
    {
        CListCtrlEx list;
        list.resize(300, 200);
        list.InsertColumn(0, QStringLiteral("Only"), 150);
        list.InsertItem(0, QStringLiteral("x"));
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        const std::optional<QRect> rect = list.GetCellRect(0, 0);
        ASSERT_TRUE(rect);
        EXPECT_EQ(rect->left(), 0);
        EXPECT_EQ(rect->width(), 150);
    }

    TEST_F(ListData, HitTestFindsTheCellUnderAPoint)
    {
        AddRows(3);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_EQ(list->HitTestCell(CellCenter(r, c)), (CellPos { r, c }));
                EXPECT_EQ(list->HitTestCell(Cell(r, c).topLeft()), (CellPos { r, c }));
            }
        }
        const QRect last = Cell(2, 3);
        EXPECT_EQ(list->HitTestCell(last.bottomLeft() + QPoint(0, 30)), CellPos {});
        EXPECT_EQ(list->HitTestCell(last.topRight() + QPoint(40, 0)), CellPos {});
        EXPECT_EQ(list->HitTestCell(QPoint(-5, 2)), CellPos {});
    }

    TEST(ListModel, KeepsSelectionWithItsRowWhenReordered)
    {
        CListModel model;
        model.InsertColumn(0, QStringLiteral("A"), LVCFMT_LEFT);
        for (int i = 0; i < 4; ++i)
            model.SetText(model.InsertRow(i, {}), 0, QString::number(i));
        const QPersistentModelIndex third = model.index(2, 0);
        model.ApplyRowOrder({ 3, 2, 1, 0 });
        EXPECT_EQ(third.row(), 1);
        EXPECT_EQ(model.Text(0, 0), QStringLiteral("3"));
        // An order that does not fit the rows changes nothing.
        model.ApplyRowOrder({ 0, 1 });
        EXPECT_EQ(model.Text(0, 0), QStringLiteral("3"));
    }

} // namespace
} // namespace ListCtrlEx::test
