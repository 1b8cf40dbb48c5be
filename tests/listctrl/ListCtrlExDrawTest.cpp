// Cell drawing by kind, checked on the rendered pixels.
#include "ListCtrlExTestSupport.h"

#include "CellPainter.h"

#include <QProxyStyle>
#include <QStyleFactory>

#include <algorithm>
#include <vector>

namespace ListCtrlEx::test {
namespace {

    // The project's style, noting every frame it is asked to draw.
    class RecordingStyle : public QProxyStyle {
    public:
        struct Call {
            QStyle::PrimitiveElement element;
            QRect rect;
            QStyle::State state;
        };

        RecordingStyle()
            : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
        {
        }

        void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
            const QWidget* widget) const override
        {
            calls.push_back({ element, option->rect, option->state });
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }

        mutable std::vector<Call> calls;
    };

    class ListDrawing : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            AddRows(3);
        }

        QColor Role(QPalette::ColorRole role) const { return test::Role(list.get(), role); }

        // The cell's image with the cell's top-left corner at (0, 0).
        QImage CellImage(int row, int column) const
        {
            const QImage all = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            return all.copy(Cell(row, column));
        }

        // The cell's text must match the same text drawn plainly `offset` pixels in,
        // ending `rightInset` pixels before the cell's right edge.
        void ExpectTextAt(int row, int column, int offset, Qt::Alignment alignment, const QColor& background,
            const QColor& textColor, int rightInset = 0)
        {
            const QRect cell = Cell(row, column);
            const QImage drawn = CellImage(row, column);
            const QRect area(offset, 0, cell.width() - offset - rightInset, cell.height());
            const QImage reference = ReferenceText(cell.size(), list->font(), background, textColor, area,
                static_cast<int>(alignment | Qt::AlignTop), list->GetItemText(row, column));
            ASSERT_FALSE(InkBounds(drawn, area, background).isEmpty());
            EXPECT_TRUE(drawn.copy(area) == reference.copy(area)) << "text pixels differ";
        }

        void ExpectPlainText(int row, int column, int offset, Qt::Alignment alignment = Qt::AlignLeft)
        {
            ExpectTextAt(row, column, offset, alignment, Role(QPalette::Base), Role(QPalette::Text));
        }
    };

    TEST_F(ListDrawing, TextStartsThreePixelsInAtTheTopAlignedByTheColumnFormat)
    {
        const struct {
            int format;
            Qt::Alignment alignment;
        } cases[] = {
            { LVCFMT_LEFT, Qt::AlignLeft },
            { LVCFMT_RIGHT, Qt::AlignRight },
            { LVCFMT_CENTER, Qt::AlignHCenter },
            { LVCFMT_CENTER | LVCFMT_RIGHT, Qt::AlignHCenter },
        };
        list->SetItemText(1, 2, QStringLiteral("Illi"));
        for (const auto& c : cases) {
            SCOPED_TRACE(c.format);
            list->SetColumnFormat(2, c.format);
            ExpectPlainText(1, 2, 3, c.alignment);
        }
    }

    TEST_F(ListDrawing, TextStartsAfterAnImageSquareAsHighAsTheCell)
    {
        QPixmap tall(60, 60);
        tall.fill(Qt::red);
        list->SetImageList(0, { tall });
        list->SetColumnFormat(1, LVCFMT_LEFT);
        list->GetCellInfo(0, 1).image = 0;
        list->SetItemText(0, 1, QStringLiteral("Illi"));

        const int h = Cell(0, 1).height();
        const QImage drawn = CellImage(0, 1);
        // The image is cut to an h x h square at the cell's corner.
        EXPECT_EQ(InkBounds(drawn, drawn.rect(), Qt::red, true), QRect(0, 0, h, h));
        ExpectPlainText(0, 1, h + 3);

        // An image index the list does not hold draws nothing but keeps the room.
        list->GetCellInfo(0, 1).image = 5;
        EXPECT_FALSE(HasPixel(CellImage(0, 1), QRect(0, 0, h, h), Qt::red));
        ExpectPlainText(0, 1, h + 3);

        // Without an image list of the chosen kind there is no room either.
        list->SetImageListKind(1);
        ExpectPlainText(0, 1, 3);
    }

    TEST_F(ListDrawing, SelectionColoursWinOverCellColoursAndDisabledEditsAreGrey)
    {
        list->SetColumnType(2, ColumnType::Edit);
        for (int r = 0; r < 3; ++r) {
            list->SetCellBkColor(r, 1, Qt::yellow);
            list->SetItemText(r, 1, QStringLiteral("llll"));
            list->SetItemText(r, 2, QStringLiteral("llll"));
            list->GetCellInfo(r, 2).enabled = 0;
        }
        list->SetCellBkColor(0, 2, Qt::yellow); // not used by edit cells
        list->selectRow(1);

        const QColor highlight = Role(QPalette::Highlight);
        const QColor highlightText = Role(QPalette::HighlightedText);
        EXPECT_FALSE(HasPixel(CellImage(1, 1), CellImage(1, 1).rect(), Qt::yellow));
        ExpectTextAt(1, 1, 3, Qt::AlignHCenter, highlight, highlightText);
        ExpectTextAt(2, 1, 3, Qt::AlignHCenter, QColor(Qt::yellow), Role(QPalette::Text));
        ExpectTextAt(0, 2, 3, Qt::AlignHCenter, Role(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        ExpectTextAt(1, 2, 3, Qt::AlignHCenter, highlight, highlightText);
        // Also without the focus.
        list->clearFocus();
        ExpectTextAt(1, 1, 3, Qt::AlignHCenter, highlight, highlightText);
    }

    TEST_F(ListDrawing, CheckBoxAndRadioAreDrawnInTheirSquareWithTheTextAfterIt)
    {
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnType(2, ColumnType::Radio);
        for (int r = 0; r < 3; ++r) {
            list->SetItemText(r, 1, QStringLiteral("llll"));
            list->SetItemText(r, 2, QStringLiteral("llll"));
        }
        const int h = Cell(0, 1).height();
        const QRect box(7, 2, h - 4, h - 4);
        const QRect radio(7, 1, h - 2, h - 2);

        const QRect boxInk
            = InkBounds(CellImage(0, 1), QRect(0, 0, box.right() + 3, h), Role(QPalette::Base));
        EXPECT_TRUE(box.contains(boxInk)) << "box ink outside the square";
        EXPECT_EQ(boxInk.topLeft(), box.topLeft());
        ExpectPlainText(0, 1, box.right() + 1 + 3);
        ExpectPlainText(0, 2, radio.right() + 1 + 3);

        // In a selected row the text area takes the selection colours, the square
        // keeps the window colour.
        list->selectRow(1);
        ExpectTextAt(1, 1, box.right() + 1 + 3, Qt::AlignLeft, Role(QPalette::Highlight),
            Role(QPalette::HighlightedText));
        const QImage selected = CellImage(1, 1);
        EXPECT_FALSE(HasPixel(selected, box, Role(QPalette::Highlight)));
        EXPECT_EQ(PixelAt(selected, box.right() + 3, h / 2), Role(QPalette::Highlight));
    }

    TEST_F(ListDrawing, FramesAreDrawnByTheStyleWithTheCellsStates)
    {
        RecordingStyle style;
        list->setStyle(&style);
        // The list must not outlive its style, whichever way the test ends.
        const std::unique_ptr<CListCtrlEx, void (*)(CListCtrlEx*)> restoreStyle(
            list.get(), [](CListCtrlEx* l) { l->setStyle(nullptr); });
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnType(2, ColumnType::Radio);
        list->SetColumnType(3, ColumnType::Combo);
        for (int c = 1; c < 4; ++c) {
            list->GetCellInfo(1, c).checked = 1;
            list->GetCellInfo(2, c).enabled = 0;
        }
        list->SetItemText(1, 3, QStringLiteral("Illi"));
        list->selectRow(0);
        style.calls.clear();
        const int h = Cell(0, 1).height();
        // A combo cell's text starts 2 pixels in and stops before the button.
        ExpectTextAt(1, 3, 2, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text), h + 4);

        const struct {
            int column;
            QStyle::PrimitiveElement element;
            QRect rect; // in cell coordinates
            QStyle::State checkedState;
            bool hotWhenSelected;
        } frames[] = {
            { 1, QStyle::PE_IndicatorCheckBox, QRect(7, 2, h - 4, h - 4), QStyle::State_On, true },
            { 2, QStyle::PE_IndicatorRadioButton, QRect(7, 1, h - 2, h - 2), QStyle::State_On, false },
            { 3, QStyle::PE_PanelButtonCommand, QRect(Cell(0, 3).width() - 1 - h, 1, h - 1, h - 1),
                QStyle::State_Sunken, true },
        };
        for (int r = 0; r < 3; ++r) {
            for (const auto& f : frames) {
                SCOPED_TRACE(testing::Message() << "row " << r << " column " << f.column);
                const QRect cell = Cell(r, f.column);
                const auto call = std::find_if(style.calls.begin(), style.calls.end(),
                    [&](const auto& c) { return c.element == f.element && cell.contains(c.rect); });
                ASSERT_NE(call, style.calls.end());
                EXPECT_EQ(call->rect, f.rect.translated(cell.topLeft()));
                EXPECT_EQ(bool(call->state & QStyle::State_Enabled), r != 2);
                EXPECT_EQ(bool(call->state & f.checkedState), r == 1);
                EXPECT_EQ(bool(call->state & QStyle::State_MouseOver), r == 0 && f.hotWhenSelected);
            }
        }
    }

    class ProgressDrawing : public ListDrawing {
    protected:
        void SetUp() override
        {
            ListDrawing::SetUp();
            list->SetColumnType(1, ColumnType::Progress);
            bar = QRect(3, 0, Cell(0, 1).width() - 3, Cell(0, 1).height());
        }

        void SetProgress(unsigned position, unsigned maximum)
        {
            list->GetCellInfo(0, 1).progressPos = position;
            list->GetCellInfo(0, 1).progressMax = maximum;
            list->viewport()->update();
        }

        QRect bar;
    };

    TEST_F(ProgressDrawing, FillGrowsWithThePositionUpToOnePixelInsideTheFrame)
    {
        const QColor fillColour(0x33, 0x66, 0x99);
        const int fullRight = bar.right() - 1; // last filled column when full
        const struct {
            unsigned position;
            unsigned maximum;
            int lastFilled;
        } cases[] = {
            { 0, 100, -1 },
            { 1, 3,
                std::min(static_cast<int>(static_cast<float>(bar.width()) * (1.0f / 3.0f)) + bar.left(),
                    fullRight) },
            { 100, 100, fullRight },
            { 250, 100, fullRight },
            { 0, 0, fullRight },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.position << " of " << c.maximum);
            SetProgress(c.position, c.maximum);
            const QImage drawn = CellImage(0, 1);
            const QRect fill = InkBounds(drawn, drawn.rect(), fillColour, true);
            if (c.lastFilled < 0) {
                EXPECT_TRUE(fill.isEmpty());
                // The bar's face between its sunken edges.
                EXPECT_EQ(PixelAt(drawn, bar.left() + 4, bar.bottom() - 3), Role(QPalette::Button));
                EXPECT_NE(PixelAt(drawn, bar.left(), bar.bottom() - 3), Role(QPalette::Button));
                EXPECT_NE(PixelAt(drawn, bar.right(), bar.bottom() - 3), Role(QPalette::Button));
                continue;
            }
            EXPECT_EQ(
                fill, QRect(QPoint(bar.left() + 1, bar.top() + 1), QPoint(c.lastFilled, bar.bottom() - 1)));
        }
        // Selected, the face takes the hot-tracking colour.
        SetProgress(0, 100);
        list->selectRow(0);
        const QImage selected = CellImage(0, 1);
        EXPECT_EQ(PixelAt(selected, bar.left() + 4, bar.bottom() - 3), Role(QPalette::Link));
        EXPECT_EQ(PixelAt(selected, 1, bar.bottom() - 3), Role(QPalette::Highlight));
    }

    TEST_F(ProgressDrawing, PercentTextReplacesTheCellTextWhenSwitchedOn)
    {
        EXPECT_EQ(ProgressText(0, 10), QStringLiteral("0.00%"));
        EXPECT_EQ(ProgressText(11, 10), QStringLiteral("100.00%"));

        const struct {
            unsigned position;
            unsigned maximum;
            const char* shown;
        } cases[] = { { 1, 3, "33.33%" }, { 0, 0, "100.00%" } };
        QImage percent;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.shown);
            SetProgress(c.position, c.maximum);
            // Switched off, the bar shows the cell's own text: here the percentage.
            list->SetOptions(0);
            list->SetItemText(0, 1, QString::fromLatin1(c.shown));
            percent = CellImage(0, 1);
            list->SetOptions(ShowProgressText);
            list->SetItemText(0, 1, QStringLiteral("own"));
            EXPECT_EQ(CellImage(0, 1), percent);
        }
        list->SetOptions(0);
        EXPECT_NE(CellImage(0, 1), percent);
    }

} // namespace
} // namespace ListCtrlEx::test
