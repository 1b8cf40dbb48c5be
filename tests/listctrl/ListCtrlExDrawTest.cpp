// Cell drawing by kind, checked on the rendered pixels.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    TEST_F(ListFixture, SelectionColoursWinOverCellColoursAndProgressFillsInsideItsBar)
    {
        AddRows({ "0", "1" });
        list->SetColumnType(2, ColumnType::Progress);
        list->SetCellBkColor(0, 1, Qt::yellow);
        list->SetCellBkColor(1, 1, Qt::yellow);
        list->selectRow(1);
        list->clearFocus(); // the selection shows also without the focus
        const QImage all = Grab(list->viewport());
        EXPECT_TRUE(InkOf(all.copy(Cell(0, 1)), Qt::yellow).isValid());
        EXPECT_FALSE(InkOf(all.copy(Cell(1, 1)), Qt::yellow).isValid());
        EXPECT_TRUE(InkOf(all.copy(Cell(1, 1)), Role(list.get(), QPalette::Highlight)).isValid());

        const QRect bar(3, 0, Cell(0, 2).width() - 3, Cell(0, 2).height());
        for (const auto& [position, maximum, full] : { std::tuple { 0u, 100u, false }, { 100u, 100u, true },
                 { 250u, 100u, true }, { 0u, 0u, true } }) {
            list->GetCellInfo(0, 2).progressPos = position;
            list->GetCellInfo(0, 2).progressMax = maximum;
            list->viewport()->update();
            EXPECT_EQ(InkOf(Grab(list->viewport()).copy(Cell(0, 2)), QColor(0x33, 0x66, 0x99)),
                full ? bar.adjusted(1, 1, -1, -1) : QRect())
                << position << " of " << maximum;
        }
        // The percentage looks as the cell's own text saying it would.
        list->GetCellInfo(0, 2).progressPos = 1;
        list->GetCellInfo(0, 2).progressMax = 3;
        list->SetItemText(0, 2, QStringLiteral("33.33%"));
        const QImage own = Grab(list->viewport()).copy(Cell(0, 2));
        list->SetOptions(ShowProgressText);
        list->SetItemText(0, 2, QStringLiteral("own"));
        EXPECT_EQ(Grab(list->viewport()).copy(Cell(0, 2)), own);
    }

} // namespace
} // namespace ListCtrlEx::test
