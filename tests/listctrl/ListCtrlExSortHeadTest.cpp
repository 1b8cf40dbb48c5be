// The sort header's item drawing: text insets, pressed look and triangle.
#include "ListCtrlExTestSupport.h"

namespace ListCtrlEx::test {
namespace {

    class SortHeader : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            header = list->GetHeaderCtrl();
            // A font whose space is 3 pixels wide, as in the worked example, when
            // one is at hand; any other works with its own space width.
            QFont font = header->font();
            for (int pixels = 6; pixels <= 16; ++pixels) {
                font.setPixelSize(pixels);
                if (QFontMetrics(font).horizontalAdvance(QLatin1Char(' ')) == 3)
                    break;
            }
            header->setFont(font);
            // Item 0 as in the worked example: right edge 100, bottom 20.
            list->setColumnWidth(0, 100);
            header->setFixedHeight(20);
            QTest::qWait(0);
            s = QFontMetrics(header->font()).horizontalAdvance(QLatin1Char(' '));
            w = 2 * s;
            face = Role(QPalette::Button);
            list->model()->setHeaderData(1, Qt::Horizontal, QString(40, QLatin1Char('I')));
        }

        QRect Section(int column) const
        {
            return QRect(
                header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height());
        }

        QImage Grab() const
        {
            return header->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        }

        QColor Role(QPalette::ColorRole role) const { return test::Role(header, role); }

        // The item must look like its heading, elided to fit `textRect`, on the face
        // colour, over the first `comparedWidth` pixels (item coordinates).
        void ExpectItem(const QImage& image, int column, const QRect& textRect, Qt::Alignment alignment,
            int comparedWidth)
        {
            const QRect item = Section(column);
            const QString elided
                = QFontMetrics(header->font())
                      .elidedText(list->model()->headerData(column, Qt::Horizontal).toString(),
                          Qt::ElideRight, textRect.width());
            const QImage reference
                = ReferenceText(item.size(), header->font(), face, Role(QPalette::ButtonText), textRect,
                    static_cast<int>(Qt::TextSingleLine | Qt::AlignVCenter | alignment), elided);
            const QRect compared(0, 0, comparedWidth, item.height());
            const QImage drawn = image.copy(item);
            EXPECT_FALSE(InkBounds(drawn, compared, face).isEmpty());
            EXPECT_TRUE(drawn.copy(compared) == reference.copy(compared)) << "item pixels differ";
        }

        CListCtrlExSortHead* header = nullptr;
        int s = 0;
        int w = 0;
        QColor face;
    };

    TEST_F(SortHeader, TextIsInsetTwoSpacesAndTheSortColumnLeavesRoomForTheTriangle)
    {
        const struct {
            int format;
            Qt::Alignment alignment;
        } cases[] = {
            { LVCFMT_LEFT, Qt::AlignLeft },
            { LVCFMT_RIGHT, Qt::AlignRight },
            { LVCFMT_CENTER, Qt::AlignHCenter },
        };
        const QRect item = Section(1);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.format);
            list->SetColumnFormat(1, c.format);
            ExpectItem(
                Grab(), 1, QRect(w, 0, item.width() - 2 * w, item.height()), c.alignment, item.width());
        }
        // The long heading is cut with an ellipsis W before the right edge.
        const QRect ink = InkBounds(Grab(), item, face);
        EXPECT_LT(ink.right(), item.right() + 1 - w);
        EXPECT_GE(ink.left(), item.left() + w);

        // On the sort column the text is cut 4 W before the right edge.
        list->SetColumnFormat(1, LVCFMT_LEFT);
        header->SetSortState(1, 1);
        const QImage sorted = Grab();
        ExpectItem(
            sorted, 1, QRect(w, 0, item.width() - 5 * w, item.height()), Qt::AlignLeft, item.width() - 4 * w);
        EXPECT_LT(InkBounds(sorted, QRect(item.left(), 0, item.width() - 4 * w, item.height()), face).right(),
            item.right() + 1 - 4 * w);
        // No other item shows a triangle.
        ExpectItem(sorted, 2, QRect(w, 0, Section(2).width() - 2 * w, item.height()), Qt::AlignHCenter,
            Section(2).width());
    }

    TEST_F(SortHeader, PressedItemTextMovesButTheTriangleDoesNot)
    {
        list->SetColumnFormat(3, LVCFMT_LEFT);
        header->SetSortState(3, 1);
        const QRect item = Section(3);
        const QRect triangleArea(item.right() + 1 - 4 * w, 0, 4 * w, item.height());
        const QImage before = Grab();

        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, item.center());
        QTest::qWait(0);
        const QImage pressed = Grab();
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, item.center());

        ExpectItem(pressed, 3, QRect(1 + w, 2, item.width() - 5 * w, item.height() - 2), Qt::AlignLeft,
            item.width() - 4 * w);
        const QRect compared(item.left(), 0, item.width() - 4 * w, item.height());
        const QRect inkBefore = InkBounds(before, compared, face);
        const QRect inkPressed = InkBounds(pressed, compared, face);
        // The text rectangle's top moves 2 down, so the centred text moves down too.
        EXPECT_EQ(inkPressed.left(), inkBefore.left() + 1);
        EXPECT_GT(inkPressed.top(), inkBefore.top());
        EXPECT_TRUE(pressed.copy(triangleArea) == before.copy(triangleArea));
    }

    TEST_F(SortHeader, TrianglePointsDownWhenAscendingAndUpWhenDescending)
    {
        list->model()->setHeaderData(0, Qt::Horizontal, QString());
        const QRect item = Section(0);
        const int r = item.right() + 1;
        const int b = item.bottom() + 1;
        const QColor light = Role(QPalette::Light);
        const QColor dark = Role(QPalette::Dark);
        const QRect triangle(QPoint(r - 5 * s - 1, 2 * s - 1), QPoint(r - 3 * s, b - 2 * s));

        header->SetSortState(0, 1);
        QImage image = Grab();
        EXPECT_EQ(InkBounds(image, QRect(r - 6 * s, 0, 6 * s, item.height()), face), triangle);
        EXPECT_EQ(PixelAt(image, r - 3 * s, 2 * s - 1), light); // right end of the base
        EXPECT_EQ(PixelAt(image, r - 4 * s - 1, b - 2 * s), dark); // the point
        EXPECT_EQ(PixelAt(image, r - 5 * s - 1, 2 * s - 1), dark); // left end of the base
        EXPECT_EQ(PixelAt(image, r - 4 * s, 2 * s - 1), dark); // the base is in shadow
        if (s == 3 && r == 100 && b == 20) {
            // The worked example: corners near (91, 5), (87, 15) and (84, 5).
            EXPECT_EQ(PixelAt(image, 91, 5), light);
            EXPECT_EQ(PixelAt(image, 87, 14), dark);
            EXPECT_EQ(PixelAt(image, 84, 5), dark);
        }

        header->SetSortState(0, 0);
        image = Grab();
        EXPECT_EQ(InkBounds(image, QRect(r - 6 * s, 0, 6 * s, item.height()), face), triangle);
        EXPECT_EQ(PixelAt(image, r - 3 * s, b - 2 * s), light); // right end of the base
        EXPECT_EQ(PixelAt(image, r - 5 * s - 1, b - 2 * s), light); // left end of the base
        // Right of the point the side is lit; left of it, above the base, in shadow.
        int lit = 0;
        int shadowed = 0;
        for (int y = 2 * s - 1; y < b - 2 * s; ++y) {
            for (int x = r - 6 * s; x < r; ++x) {
                const QColor pixel = PixelAt(image, x, y);
                if (pixel == face || x == r - 4 * s)
                    continue;
                EXPECT_EQ(pixel, x > r - 4 * s ? light : dark) << x << "," << y;
                ++(x > r - 4 * s ? lit : shadowed);
            }
        }
        EXPECT_GT(lit, 0);
        EXPECT_GT(shadowed, 0);
    }

} // namespace
} // namespace ListCtrlEx::test
