// Drawing of the header and of the cells, checked on the rendered pixels.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    TEST_F(ListFixture, HeaderSectionsHaveTheFrameAndDividerOfAPlainHeader)
    {
        QHeaderView* header = list->horizontalHeader();
        QHeaderView plain(Qt::Horizontal, list.get());
        plain.setModel(list->model());
        for (int c = 0; c < 4; ++c)
            plain.resizeSection(c, header->sectionSize(c));
        plain.setGeometry(0, 200, header->width(), header->height());
        plain.show();
        const QImage ours = Grab(header), theirs = Grab(&plain);
        for (int x : { 0, 114, 120, 234, 240, 354, 360, 474 }) // item edges, where neither header has text
            EXPECT_TRUE(ours.copy(x, 0, 6, 20) == theirs.copy(x, 0, 6, 20)) << "x " << x;
    }

    TEST_F(ListFixture, HeaderTextIsInsetTwoSpacesAndTheSortColumnHasATriangle)
    {
        QHeaderView* header = list->horizontalHeader();
        QFont font = header->font(); // a space 3 pixels wide, as in the worked example
        for (int pixels = 6; pixels <= 16 && QFontMetrics(font).horizontalAdvance(' ') != 3; ++pixels)
            font.setPixelSize(pixels);
        header->setFont(font);
        ASSERT_EQ(QFontMetrics(font).horizontalAdvance(' '), 3);
        list->InsertColumn(0, QString(80, QLatin1Char('I')), 100); // right edge 100
        header->setFixedHeight(20); // bottom 20
        list->SetOptions(SortOnHeaderClick);
        const QColor light = Role(header, QPalette::Light), dark = Role(header, QPalette::Dark);
        const auto text = [](const QImage& image) {
            return InkBounds(
                image, QRect(0, 0, 100, 20), [](const QColor& c) { return qGray(c.rgb()) < 96; });
        };
        const auto triangle = [&](const QImage& image, int right) {
            return InkBounds(image, QRect(right - 18, 0, 18, 20),
                [&](const QColor& c) { return c == light || c == dark; });
        };
        const QImage unsorted = Grab(header);
        EXPECT_TRUE(text(unsorted).left() >= 6 && text(unsorted).right() < 94);
        EXPECT_FALSE(triangle(unsorted, 100).isValid());

        ClickHeader(0); // descending: point up, lit base, left side in shadow
        const QImage up = Grab(header);
        EXPECT_LT(text(up).right(), 100 - 4 * 6);
        EXPECT_EQ(triangle(up, 100), QRect(QPoint(84, 5), QPoint(91, 14)));
        EXPECT_EQ(std::tuple(QColor(up.pixel(91, 14)), QColor(up.pixel(84, 14))), std::tuple(light, light));
        const QImage leftSide = up.copy(82, 0, 6, 14);
        EXPECT_TRUE(InkOf(leftSide, dark).isValid() && !InkOf(leftSide, light).isValid());

        ClickHeader(0); // ascending: corners near (91, 5), (87, 15) and (84, 5), lit on the right
        const QImage down = Grab(header);
        EXPECT_EQ(triangle(down, 100), QRect(QPoint(84, 5), QPoint(91, 14)));
        EXPECT_EQ(
            std::tuple(QColor(down.pixel(91, 5)), QColor(down.pixel(87, 14)), QColor(down.pixel(84, 5))),
            std::tuple(light, dark, dark));
    }

    TEST_F(ListFixture, SelectionColoursWinOverCellColoursAndProgressCanShowItsPercentage)
    {
        AddRows({ "0", "1" });
        list->SetCellBkColor(0, 1, Qt::yellow);
        list->SetCellBkColor(1, 1, Qt::yellow);
        list->selectRow(1);
        list->clearFocus(); // the selection shows also without the focus
        const auto cell = [&](int row, int column) { return Grab(list->viewport()).copy(Cell(row, column)); };
        EXPECT_TRUE(InkOf(cell(0, 1), Qt::yellow).isValid());
        EXPECT_FALSE(InkOf(cell(1, 1), Qt::yellow).isValid());
        EXPECT_TRUE(InkOf(cell(1, 1), Role(list.get(), QPalette::Highlight)).isValid());

        // A full bar, and its percentage that looks as the cell's own text saying it would.
        list->SetColumnType(2, ColumnType::Progress);
        list->GetCellInfo(0, 2).progressMax = 0;
        list->SetItemText(0, 2, QStringLiteral("100.00%"));
        const QImage own = cell(0, 2);
        EXPECT_EQ(InkOf(own, QColor(0x33, 0x66, 0x99)), QRect(4, 1, own.width() - 5, own.height() - 2));
        list->SetOptions(ShowProgressText);
        list->SetItemText(0, 2, QStringLiteral("own"));
        EXPECT_EQ(cell(0, 2), own);
    }

} // namespace
} // namespace ListCtrlEx::test
