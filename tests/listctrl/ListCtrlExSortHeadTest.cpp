// The sort header: the style's section frames, the text insets, the triangle.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    class SortHeader : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            header = list->horizontalHeader();
            // A font whose space is 3 pixels wide, as in the worked example, when one
            // is at hand; any other works with its own space width.
            QFont font = header->font();
            for (int pixels = 6; pixels <= 16 && QFontMetrics(font).horizontalAdvance(' ') != 3; ++pixels)
                font.setPixelSize(pixels);
            header->setFont(font);
            list->InsertColumn(1, QString(80, QLatin1Char('I')), 120);
            list->setColumnWidth(0, 100); // item 0: right edge 100, bottom 20
            header->setFixedHeight(20);
            list->SetOptions(SortOnHeaderClick);
            QTest::qWait(0);
            s = QFontMetrics(font).horizontalAdvance(QLatin1Char(' '));
        }

        QImage Grab() const { return header->grab().toImage().convertToFormat(QImage::Format_RGB32); }
        QRect Item(int c) const
        {
            return QRect(header->sectionViewportPosition(c), 0, header->sectionSize(c), header->height());
        }
        // Bounds of the dark heading text, or of the triangle's two colours.
        static QRect TextInk(const QImage& image, const QRect& area)
        {
            QRect bounds;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    bounds |= qGray(image.pixel(x, y)) < 96 ? QRect(x, y, 1, 1) : QRect();
            }
            return bounds;
        }
        QRect TriangleInk(const QImage& image, int c) const
        {
            const QRect area(Item(c).right() + 1 - 6 * s, 0, 6 * s, header->height());
            return InkBounds(image, area, Role(header, QPalette::Light), true)
                | InkBounds(image, area, Role(header, QPalette::Dark), true);
        }

        QHeaderView* header = nullptr;
        int s = 0;
    };

    TEST_F(SortHeader, SectionsHaveTheFrameAndDividerOfAPlainHeader)
    {
        QHeaderView plain(Qt::Horizontal, list.get());
        plain.setModel(list->model());
        for (int c = 0; c < 5; ++c)
            plain.resizeSection(c, header->sectionSize(c));
        plain.setGeometry(0, 200, header->width(), header->height());
        plain.show();
        const QImage ours = Grab();
        const QImage theirs = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Both edges of the items with short headings, where neither header has text.
        for (int c : { 0, 2, 3 }) {
            for (const QRect edge :
                { QRect(Item(c).left(), 0, s, 20), QRect(Item(c).right() + 1 - s, 0, s, 20) })
                EXPECT_TRUE(ours.copy(edge) == theirs.copy(edge)) << "column " << c << " x " << edge.x();
        }
    }

    TEST_F(SortHeader, TextIsInsetTwoSpacesAndOnTheSortColumnLeavesRoomForTheTriangle)
    {
        const QRect item = Item(1);
        const QRect text = TextInk(Grab(), item);
        EXPECT_GE(text.left(), item.left() + 2 * s);
        EXPECT_LT(text.right(), item.right() + 1 - 2 * s);
        EXPECT_TRUE(TriangleInk(Grab(), 1).isEmpty());

        ClickHeader(1);
        const QImage sorted = Grab();
        EXPECT_LT(TextInk(sorted, item).right(), item.right() + 1 - 8 * s);
        EXPECT_FALSE(TriangleInk(sorted, 1).isEmpty());
        EXPECT_TRUE(TriangleInk(sorted, 2).isEmpty()) << "only the sort column has a triangle";

        // Held down, the text moves 1 right and down; the triangle stays.
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, item.center());
        QTest::qWait(0);
        const QImage pressed = Grab();
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_EQ(TextInk(pressed, item).left(), TextInk(sorted, item).left() + 1);
        EXPECT_GT(TextInk(pressed, item).top(), TextInk(sorted, item).top());
        EXPECT_EQ(TriangleInk(pressed, 1), TriangleInk(sorted, 1));
    }

    TEST_F(SortHeader, TrianglePointsUpWhenDescendingAndDownWhenAscending)
    {
        const int r = Item(0).right() + 1;
        const int b = 20;
        const QRect triangle(QPoint(r - 5 * s - 1, 2 * s - 1), QPoint(r - 3 * s, b - 2 * s));
        const QColor light = Role(header, QPalette::Light);
        const QColor dark = Role(header, QPalette::Dark);

        ClickHeader(0); // first click: descending, point up, lit base
        QImage image = Grab();
        EXPECT_EQ(TriangleInk(image, 0), triangle);
        EXPECT_EQ(PixelAt(image, r - 3 * s, b - 2 * s), light);
        EXPECT_EQ(PixelAt(image, r - 5 * s - 1, b - 2 * s), light);
        const QRect leftSide(r - 6 * s, 0, 2 * s, b - 2 * s); // left of the point, above the base
        EXPECT_TRUE(InkBounds(image, leftSide, light, true).isEmpty());
        EXPECT_FALSE(InkBounds(image, leftSide, dark, true).isEmpty());

        ClickHeader(0); // ascending: point down, base in shadow, right side lit
        image = Grab();
        EXPECT_EQ(TriangleInk(image, 0), triangle);
        EXPECT_EQ(PixelAt(image, r - 3 * s, 2 * s - 1), light);
        EXPECT_EQ(PixelAt(image, r - 4 * s - 1, b - 2 * s), dark);
        EXPECT_EQ(PixelAt(image, r - 4 * s, 2 * s - 1), dark);
        if (s == 3) { // the worked example: corners near (91, 5), (87, 15) and (84, 5)
            EXPECT_EQ(PixelAt(image, 91, 5), light);
            EXPECT_EQ(PixelAt(image, 87, 14), dark);
            EXPECT_EQ(PixelAt(image, 84, 5), dark);
        }
    }

} // namespace
} // namespace ListCtrlEx::test
