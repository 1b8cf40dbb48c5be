// The sort header's item drawing: text insets, pressed look and triangle.
#include "ListCtrlExTestSupport.h"

#include "PixelSupport.h"

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

        // As 8-bit colour, the way it lands in the image.
        QColor Role(QPalette::ColorRole role) const
        {
            return QColor(header->palette().color(QPalette::Active, role).rgb());
        }

        // The item as it must look left of the triangle: face colour and the
        // heading, elided to fit, in `textRect` (item coordinates).
        QImage Reference(int column, const QRect& textRect, Qt::Alignment alignment) const
        {
            const QRect item = Section(column);
            const QString text = list->model()->headerData(column, Qt::Horizontal).toString();
            const QString elided
                = QFontMetrics(header->font()).elidedText(text, Qt::ElideRight, textRect.width());
            return ReferenceText(item.size(), header->font(), Role(QPalette::Button),
                Role(QPalette::ButtonText), textRect,
                static_cast<int>(Qt::TextSingleLine | Qt::AlignVCenter | alignment), elided);
        }

        void ExpectItem(int column, const QRect& textRect, Qt::Alignment alignment, int comparedWidth)
        {
            const QImage drawn = Grab().copy(Section(column));
            const QImage reference = Reference(column, textRect, alignment);
            const QRect compared(0, 0, comparedWidth, drawn.height());
            EXPECT_FALSE(InkBounds(drawn, compared, Role(QPalette::Button)).isEmpty());
            EXPECT_TRUE(drawn.copy(compared) == reference.copy(compared)) << "item pixels differ";
        }

        CListCtrlExSortHead* header = nullptr;
        int s = 0;
        int w = 0;
    };

    TEST_F(SortHeader, TextIsInsetTwoSpacesOnBothSides)
    {
        list->model()->setHeaderData(1, Qt::Horizontal, QString(40, QLatin1Char('I')));
        const struct {
            int format;
            Qt::Alignment alignment;
        } cases[] = {
            { LVCFMT_LEFT, Qt::AlignLeft },
            { LVCFMT_RIGHT, Qt::AlignRight },
            { LVCFMT_CENTER, Qt::AlignHCenter },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.format);
            list->SetColumnFormat(1, c.format);
            const QRect item = Section(1);
            ExpectItem(1, QRect(w, 0, item.width() - 2 * w, item.height()), c.alignment, item.width());
        }
        // The long heading is cut with an ellipsis W before the right edge.
        const QRect ink = InkBounds(Grab(), Section(1), Role(QPalette::Button));
        EXPECT_LT(ink.right(), Section(1).right() + 1 - w);
        EXPECT_GE(ink.left(), Section(1).left() + w);
    }

    TEST_F(SortHeader, HeaderClickSortingShowsTheSortColumnAndDirection)
    {
        EXPECT_EQ(header->SortColumn(), -1);
        AddRows(2);
        list->SetOptions(0);
        ClickHeader(2);
        EXPECT_EQ(header->SortColumn(), -1);

        list->SetOptions(SortOnHeaderClick);
        ClickHeader(2);
        EXPECT_EQ(header->SortColumn(), 2);
        EXPECT_EQ(header->SortAscending(), 0);
        ClickHeader(2);
        EXPECT_EQ(header->SortAscending(), 1);
        ClickHeader(0);
        EXPECT_EQ(header->SortColumn(), 0);
        EXPECT_EQ(header->SortAscending(), 0);
    }

    TEST_F(SortHeader, SortColumnLeavesRoomForTheTriangle)
    {
        list->model()->setHeaderData(1, Qt::Horizontal, QString(40, QLatin1Char('I')));
        list->SetColumnFormat(1, LVCFMT_LEFT);
        header->SetSortState(1, 1);
        const QRect item = Section(1);
        // Left of the triangle the item is its text, cut 4 W before the right edge.
        ExpectItem(1, QRect(w, 0, item.width() - 5 * w, item.height()), Qt::AlignLeft, item.width() - 4 * w);
        const QRect textInk = InkBounds(
            Grab(), QRect(item.left(), 0, item.width() - 4 * w, item.height()), Role(QPalette::Button));
        EXPECT_LT(textInk.right(), item.right() + 1 - 4 * w);
        // No other item shows a triangle.
        ExpectItem(
            2, QRect(w, 0, Section(2).width() - 2 * w, item.height()), Qt::AlignHCenter, Section(2).width());
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

        const QRect textRect(1 + w, 2, item.width() - 5 * w, item.height() - 2);
        const QImage reference = Reference(3, textRect, Qt::AlignLeft);
        const QRect compared(0, 0, item.width() - 4 * w, item.height());
        EXPECT_TRUE(pressed.copy(item).copy(compared) == reference.copy(compared))
            << "pressed text pixels differ";
        const QRect inkBefore
            = InkBounds(before, compared.translated(item.topLeft()), Role(QPalette::Button));
        const QRect inkPressed
            = InkBounds(pressed, compared.translated(item.topLeft()), Role(QPalette::Button));
        // The text rectangle's top moves 2 down, so the centred text moves down too.
        EXPECT_EQ(inkPressed.left(), inkBefore.left() + 1);
        EXPECT_GT(inkPressed.top(), inkBefore.top());
        EXPECT_TRUE(pressed.copy(triangleArea) == before.copy(triangleArea));
    }

    class SortTriangle : public SortHeader {
    protected:
        // Triangle pixels: everything in the triangle's part of the item that is
        // not the face colour.
        QRect TriangleInk(const QImage& image, const QRect& item) const
        {
            return InkBounds(
                image, QRect(item.right() + 1 - 6 * s, 0, 6 * s, item.height()), Role(QPalette::Button));
        }
    };

    TEST_F(SortTriangle, AscendingPointsDownWithItsBaseInShadow)
    {
        list->model()->setHeaderData(0, Qt::Horizontal, QString());
        header->SetSortState(0, 1);
        const QRect item = Section(0);
        const int r = item.right() + 1;
        const int b = item.bottom() + 1;
        const QImage image = Grab();
        const QColor light = Role(QPalette::Light);
        const QColor dark = Role(QPalette::Dark);

        EXPECT_EQ(
            TriangleInk(image, item), QRect(QPoint(r - 5 * s - 1, 2 * s - 1), QPoint(r - 3 * s, b - 2 * s)));
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
    }

    TEST_F(SortTriangle, DescendingPointsUpWithItsBaseLit)
    {
        list->model()->setHeaderData(0, Qt::Horizontal, QString());
        header->SetSortState(0, 0);
        const QRect item = Section(0);
        const int r = item.right() + 1;
        const int b = item.bottom() + 1;
        const QImage image = Grab();
        const QColor light = Role(QPalette::Light);
        const QColor dark = Role(QPalette::Dark);

        EXPECT_EQ(
            TriangleInk(image, item), QRect(QPoint(r - 5 * s - 1, 2 * s - 1), QPoint(r - 3 * s, b - 2 * s)));
        EXPECT_EQ(PixelAt(image, r - 3 * s, b - 2 * s), light); // right end of the base
        EXPECT_EQ(PixelAt(image, r - 5 * s - 1, b - 2 * s), light); // left end of the base
        // Right of the point the side is lit; left of it, above the base, in shadow.
        int lit = 0;
        int shadowed = 0;
        for (int y = 2 * s - 1; y < b - 2 * s; ++y) {
            for (int x = r - 6 * s; x < r; ++x) {
                const QColor pixel = PixelAt(image, x, y);
                if (x > r - 4 * s && pixel != Role(QPalette::Button)) {
                    EXPECT_EQ(pixel, light) << x << "," << y;
                    ++lit;
                }
                if (x < r - 4 * s && pixel != Role(QPalette::Button)) {
                    EXPECT_EQ(pixel, dark) << x << "," << y;
                    ++shadowed;
                }
            }
        }
        EXPECT_GT(lit, 0);
        EXPECT_GT(shadowed, 0);
    }

} // namespace
} // namespace ListCtrlEx::test
