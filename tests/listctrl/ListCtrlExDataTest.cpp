// Rows, columns, cell records and geometry of the list.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    using ListData = ListFixture;

    TEST_F(ListData, ColumnsAreCentredAndInsertedWhereAsked)
    {
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(list->GetColumnFormat(c), LVCFMT_CENTER);
        // A column that cannot report its format counts as centred.
        EXPECT_EQ(list->GetColumnFormat(9), LVCFMT_CENTER);
        EXPECT_EQ(list->GetColumnFormat(-1), LVCFMT_CENTER);

        AddRows(1);
        list->SetColumnType(1, ColumnType::Progress);
        list->SetColumnSortMode(1, SortMode::NumberAware);
        EXPECT_EQ(list->InsertColumn(1, QStringLiteral("New"), -1), 1);
        EXPECT_EQ(list->columnWidth(1), list->horizontalHeader()->defaultSectionSize());
        EXPECT_EQ(ColumnTexts(2), QStringList { "r0c1" }); // later texts move right
        // InsertColumn resets kind and sort mode at its index.
        EXPECT_EQ(list->GetColumnType(1), ColumnType::Text);
        EXPECT_EQ(list->GetColumnSort(1).mode, SortMode::Text);

        EXPECT_EQ(list->InsertColumn(10, QStringLiteral("Far"), 50), 5);
        EXPECT_EQ(list->InsertColumn(-1, QStringLiteral("Bad"), 50), -1);
        EXPECT_EQ(list->GetColumnCount(), 6);
    }

    // The operations the discovery engine appends its rows with.
    TEST_F(ListData, RowsTextsAndItemDataStayInsideTheList)
    {
        EXPECT_EQ(list->InsertItem(0, QStringLiteral("b")), 0);
        EXPECT_EQ(list->InsertItem(0, QStringLiteral("a")), 0);
        EXPECT_EQ(list->InsertItem(99, QStringLiteral("d")), 2);
        EXPECT_EQ(list->InsertItem(2, QStringLiteral("c")), 2);
        EXPECT_EQ(list->InsertItem(-1, QStringLiteral("x")), -1);
        EXPECT_EQ(ColumnTexts(0), (QStringList { "a", "b", "c", "d" }));

        EXPECT_TRUE(list->SetItemText(3, 3, QStringLiteral("fw 1.0")));
        EXPECT_EQ(list->GetItemText(3, 3), QStringLiteral("fw 1.0"));
        EXPECT_FALSE(list->SetItemText(4, 0, QStringLiteral("no row")));
        EXPECT_FALSE(list->SetItemText(0, 4, QStringLiteral("no column")));
        EXPECT_FALSE(list->SetItemText(-1, 0, QStringLiteral("no row")));
        EXPECT_EQ(list->GetItemText(7, 0), QString());
        EXPECT_EQ(list->GetItemText(0, -2), QString());
        EXPECT_EQ(list->GetItemCount(), 4);

        EXPECT_TRUE(list->SetItemData(1, 0xBEEF));
        EXPECT_FALSE(list->SetItemData(4, 1));
        list->InsertItem(0, QStringLiteral("new"));
        EXPECT_EQ(list->GetItemData(2), 0xBEEFu);
        EXPECT_EQ(list->GetItemData(0), 0u);
        EXPECT_EQ(list->GetItemData(17), 0u);
    }

    TEST_F(ListData, GetCellInfoFillsRecordsForEveryExistingCellOnce)
    {
        list->GetCellInfo(0, 1); // an empty list: only the asked record
        EXPECT_EQ(list->GetCellInfoCount(), 1u);
        list->DeleteAllItems();
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
        EXPECT_EQ(info.progressMax, 100u);

        // The record is the list's own: writes stay.
        info.validChars = QStringLiteral("0123456789");
        EXPECT_EQ(list->GetCellInfo(1, 2).validChars, QStringLiteral("0123456789"));

        // Once records exist, only the asked cell is added, also outside the list.
        EXPECT_EQ(list->GetCellInfo(7, 9).group, 9);
        EXPECT_EQ(list->GetCellInfoCount(), 13u);

        // Records belong to positions, not rows.
        list->GetCellInfo(1, 0).image = 5;
        list->InsertItem(0, QStringLiteral("top"));
        list->DeleteItem(0);
        list->DeleteItem(0);
        EXPECT_EQ(list->GetCellInfo(1, 0).image, 5);
    }

    TEST_F(ListData, DeleteAllItemsDiscardsRecordsButKeepsKindsColoursAndSortState)
    {
        AddRows(2);
        const QColor window = list->palette().color(QPalette::Active, QPalette::Base);
        EXPECT_EQ(list->GetCellBkColor(0, 0), window);
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnSortMode(2, SortMode::NumberAware);
        list->SetCellBkColor(0, 0, Qt::yellow);
        list->SetCellBkColor(0, 1, Qt::red);
        list->RemoveCellBkColor(0, 1);
        list->GetCellInfo(0, 1).checked = 1;

        EXPECT_TRUE(list->DeleteAllItems());
        EXPECT_EQ(list->GetItemCount(), 0);
        EXPECT_EQ(list->GetCellInfoCount(), 0u);

        AddRows(2);
        EXPECT_FALSE(list->GetCellInfo(0, 1).checked);
        EXPECT_EQ(list->GetColumnType(1), ColumnType::CheckBox);
        EXPECT_EQ(list->GetColumnSort(2).mode, SortMode::NumberAware);
        EXPECT_EQ(list->GetCellBkColor(0, 0), QColor(Qt::yellow));
        EXPECT_EQ(list->GetCellBkColor(0, 1), window);
    }

    TEST_F(ListData, CellRectanglesAndHitTestFollowTheColumns)
    {
        AddRows(3);
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(Cell(1, c), list->visualRect(list->model()->index(1, c)));
        // Column 0 reaches up to where column 1 begins.
        const QRect first = Cell(1, 0);
        EXPECT_EQ(first,
            QRect(QPoint(list->columnViewportPosition(0), Cell(1, 1).top()),
                QPoint(Cell(1, 1).left() - 1, Cell(1, 1).bottom())));
        EXPECT_FALSE(list->GetCellRect(3, 0));
        EXPECT_FALSE(list->GetCellRect(-1, 1));
        EXPECT_FALSE(list->GetCellRect(0, 4));

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

    TEST(ListSingleColumn, ColumnZeroIsTheWholeRow)
    {
        CListCtrlEx list;
        list.resize(300, 200);
        list.InsertColumn(0, QStringLiteral("Only"), 150);
        list.InsertItem(0, QStringLiteral("x"));
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        EXPECT_EQ(list.GetCellRect(0, 0).value_or(QRect()).left(), 0);
        EXPECT_EQ(list.GetCellRect(0, 0).value_or(QRect()).width(), 150);
    }

} // namespace
} // namespace ListCtrlEx::test
