// Cell drawing by kind, checked on the rendered pixels.
#include "ListCtrlExTestSupport.h"

#include "CellPainter.h"
#include "PixelSupport.h"

#include <QProxyStyle>
#include <QStyleFactory>

#include <optional>
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

        QImage Grab() const
        {
            return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        }

        // As 8-bit colour, the way it lands in the image.
        QColor Role(QPalette::ColorRole role) const
        {
            return QColor(list->palette().color(QPalette::Active, role).rgb());
        }

        // The cell's image with the cell's top-left corner at (0, 0).
        QImage CellImage(int row, int column) const { return Grab().copy(Cell(row, column)); }

        // Where ink starts inside a cell, relative to the cell's left edge, compared
        // with the same text drawn plainly starting `offset` pixels in.
        // `rightInset` is how far the text area ends before the cell's right edge.
        void ExpectTextAt(int row, int column, int offset, Qt::Alignment alignment, const QColor& background,
            const QColor& textColor, int rightInset = 0)
        {
            const QRect cell = Cell(row, column);
            const QImage drawn = CellImage(row, column);
            const QRect area(offset, 0, cell.width() - offset - rightInset, cell.height());
            const QImage reference = ReferenceText(cell.size(), list->font(), background, textColor, area,
                static_cast<int>(alignment | Qt::AlignTop), list->GetItemText(row, column));
            const QRect drawnInk = InkBounds(drawn, area, background);
            ASSERT_FALSE(drawnInk.isEmpty());
            EXPECT_EQ(drawnInk, InkBounds(reference, area, background));
            EXPECT_TRUE(drawn.copy(area) == reference.copy(area)) << "text pixels differ";
        }
    };

    TEST_F(ListDrawing, TextStartsThreePixelsInAndSitsAtTheTop)
    {
        list->SetColumnFormat(1, LVCFMT_LEFT);
        list->SetItemText(0, 1, QStringLiteral("Illi"));
        ExpectTextAt(0, 1, 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));
    }

    TEST_F(ListDrawing, TextFollowsTheColumnFormat)
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
        for (const auto& c : cases) {
            list->SetColumnFormat(2, c.format);
            list->SetItemText(1, 2, QStringLiteral("Wide"));
            SCOPED_TRACE(c.format);
            ExpectTextAt(1, 2, 3, c.alignment, Role(QPalette::Base), Role(QPalette::Text));
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

        const QRect cell = Cell(0, 1);
        const int h = cell.height();
        const QImage drawn = CellImage(0, 1);
        // The image is cut to an h x h square at the cell's corner.
        EXPECT_EQ(PixelBounds(drawn, drawn.rect(), [](QRgb p) { return QColor(p) == QColor(Qt::red); }),
            QRect(0, 0, h, h));
        ExpectTextAt(0, 1, h + 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));

        // An image index the list does not hold draws nothing but keeps the room.
        list->GetCellInfo(0, 1).image = 5;
        EXPECT_FALSE(HasPixel(CellImage(0, 1), QRect(0, 0, h, h), Qt::red));
        ExpectTextAt(0, 1, h + 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));

        // Without an image list of the chosen kind there is no room either.
        list->SetImageListKind(1);
        ExpectTextAt(0, 1, 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));
    }

    TEST_F(ListDrawing, SelectedRowsUseSelectionColoursOverCellColours)
    {
        list->SetCellBkColor(1, 1, Qt::yellow);
        list->SetCellBkColor(2, 1, Qt::yellow);
        list->SetItemText(1, 1, QStringLiteral("llll"));
        list->SetItemText(2, 1, QStringLiteral("llll"));
        list->selectRow(1);

        EXPECT_FALSE(HasPixel(CellImage(1, 1), CellImage(1, 1).rect(), Qt::yellow));
        ExpectTextAt(1, 1, 3, Qt::AlignHCenter, Role(QPalette::Highlight), Role(QPalette::HighlightedText));
        // An unselected row keeps its own colour, also without the focus.
        ExpectTextAt(2, 1, 3, Qt::AlignHCenter, QColor(Qt::yellow), Role(QPalette::Text));
        list->clearFocus();
        ExpectTextAt(1, 1, 3, Qt::AlignHCenter, Role(QPalette::Highlight), Role(QPalette::HighlightedText));
    }

    TEST_F(ListDrawing, EditCellsGreyTheirTextWhenDisabled)
    {
        list->SetColumnType(1, ColumnType::Edit);
        list->SetCellBkColor(0, 1, Qt::yellow); // not used by edit cells
        for (int r = 0; r < 3; ++r)
            list->SetItemText(r, 1, QStringLiteral("llll"));
        list->GetCellInfo(0, 1).enabled = 0;
        list->GetCellInfo(1, 1).enabled = 0;
        list->selectRow(1);

        ExpectTextAt(0, 1, 3, Qt::AlignHCenter, Role(QPalette::Base), kDisabledEditTextColor);
        ExpectTextAt(1, 1, 3, Qt::AlignHCenter, Role(QPalette::Highlight), Role(QPalette::HighlightedText));
        ExpectTextAt(2, 1, 3, Qt::AlignHCenter, Role(QPalette::Base), Role(QPalette::Text));
    }

    TEST_F(ListDrawing, CheckBoxIsDrawnInItsSquareWithTheTextAfterIt)
    {
        list->SetColumnType(1, ColumnType::CheckBox);
        list->SetColumnType(2, ColumnType::Radio);
        for (int r = 0; r < 3; ++r) {
            list->SetItemText(r, 1, QStringLiteral("llll"));
            list->SetItemText(r, 2, QStringLiteral("llll"));
        }
        const QRect cell = Cell(0, 1);
        const int h = cell.height();
        const QRect box(7, 2, h - 4, h - 4);
        const QRect radio(7, 1, h - 2, h - 2);

        const QImage plain = CellImage(0, 1);
        const QRect boxInk = InkBounds(plain, QRect(0, 0, box.right() + 3, h), Role(QPalette::Base));
        ASSERT_FALSE(boxInk.isEmpty());
        EXPECT_TRUE(box.contains(boxInk)) << "box ink outside the square";
        EXPECT_EQ(boxInk.left(), box.left());
        EXPECT_EQ(boxInk.top(), box.top());
        const QRect radioInk
            = InkBounds(CellImage(0, 2), QRect(0, 0, radio.right() + 3, h), Role(QPalette::Base));
        ASSERT_FALSE(radioInk.isEmpty());
        EXPECT_TRUE(radio.contains(radioInk));

        // The text starts 3 pixels after the square, left-aligned.
        ExpectTextAt(0, 1, box.right() + 1 + 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));
        ExpectTextAt(0, 2, radio.right() + 1 + 3, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text));

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
        list->selectRow(0);
        style.calls.clear();
        Grab();

        const QRect cell = Cell(0, 1);
        const int h = cell.height();
        const auto stateOf = [&](QStyle::PrimitiveElement element, int row, int column) {
            const QRect c = Cell(row, column);
            for (const auto& call : style.calls) {
                if (call.element == element && c.contains(call.rect))
                    return std::optional<RecordingStyle::Call>(call);
            }
            return std::optional<RecordingStyle::Call>();
        };

        for (int r = 0; r < 3; ++r) {
            SCOPED_TRACE(r);
            const auto box = stateOf(QStyle::PE_IndicatorCheckBox, r, 1);
            const auto radio = stateOf(QStyle::PE_IndicatorRadioButton, r, 2);
            const auto combo = stateOf(QStyle::PE_PanelButtonCommand, r, 3);
            ASSERT_TRUE(box && radio && combo);
            const QRect c1 = Cell(r, 1);
            const QRect c2 = Cell(r, 2);
            const QRect c3 = Cell(r, 3);
            EXPECT_EQ(box->rect, QRect(c1.left() + 7, c1.top() + 2, h - 4, h - 4));
            EXPECT_EQ(radio->rect, QRect(c2.left() + 7, c2.top() + 1, h - 2, h - 2));
            EXPECT_EQ(combo->rect, QRect(c3.left() + c3.width() - 1 - h, c3.top() + 1, h - 1, h - 1));

            const bool checked = r == 1;
            const bool enabled = r != 2;
            const bool selected = r == 0;
            for (const auto& call : { *box, *radio, *combo })
                EXPECT_EQ(bool(call.state & QStyle::State_Enabled), enabled);
            EXPECT_EQ(bool(box->state & QStyle::State_On), checked);
            EXPECT_EQ(bool(radio->state & QStyle::State_On), checked);
            EXPECT_EQ(bool(combo->state & QStyle::State_Sunken), checked);
            // Hot in a selected row, except the radio button.
            EXPECT_EQ(bool(box->state & QStyle::State_MouseOver), selected);
            EXPECT_EQ(bool(combo->state & QStyle::State_MouseOver), selected);
            EXPECT_FALSE(radio->state & QStyle::State_MouseOver);
        }
    }

    TEST_F(ListDrawing, DisabledAndCheckedBoxesLookDifferent)
    {
        list->SetColumnType(1, ColumnType::CheckBox);
        const int h = Cell(0, 1).height();
        const QRect box(7, 2, h - 4, h - 4);
        const QImage unchecked = CellImage(0, 1).copy(box);
        list->GetCellInfo(0, 1).checked = 1;
        const QImage checked = CellImage(0, 1).copy(box);
        list->GetCellInfo(0, 1).enabled = 0;
        const QImage greyed = CellImage(0, 1).copy(box);
        EXPECT_FALSE(unchecked == checked);
        EXPECT_FALSE(checked == greyed);
    }

    TEST_F(ListDrawing, ComboCellsShowAButtonAtTheRightEnd)
    {
        list->SetColumnType(3, ColumnType::Combo);
        list->SetItemText(0, 3, QStringLiteral("Illi"));
        const QRect cell = Cell(0, 3);
        const int h = cell.height();
        const int w = cell.width();
        const QImage drawn = CellImage(0, 3);
        const QRect button(w - 1 - h, 1, h - 1, h - 1);
        const QRect ink
            = InkBounds(drawn, QRect(button.left() - 2, 0, w - button.left() + 2, h), Role(QPalette::Base));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(button.contains(ink));
        ExpectTextAt(0, 3, 2, Qt::AlignLeft, Role(QPalette::Base), Role(QPalette::Text), h + 4);
    }

    class ProgressDrawing : public ListDrawing {
    protected:
        void SetUp() override
        {
            ListDrawing::SetUp();
            list->SetColumnType(1, ColumnType::Progress);
        }

        void SetProgress(unsigned position, unsigned maximum)
        {
            CellInfo& info = list->GetCellInfo(0, 1);
            info.progressPos = position;
            info.progressMax = maximum;
            list->viewport()->update();
        }

        // Fill-coloured pixels of the bar, in cell coordinates.
        QRect Fill() const
        {
            const QImage drawn = CellImage(0, 1);
            return PixelBounds(drawn, drawn.rect(), [](QRgb p) { return QColor(p) == kProgressFillColor; });
        }

        QRect Bar() const
        {
            const QRect cell = Cell(0, 1);
            return QRect(3, 0, cell.width() - 3, cell.height());
        }
    };

    TEST_F(ProgressDrawing, EmptyBarHasNoFill)
    {
        SetProgress(0, 100);
        EXPECT_TRUE(Fill().isEmpty());
        const QImage drawn = CellImage(0, 1);
        const QRect bar = Bar();
        // The bar's face between its sunken edges.
        EXPECT_EQ(PixelAt(drawn, bar.left() + 4, bar.bottom() - 3), Role(QPalette::Button));
        EXPECT_NE(PixelAt(drawn, bar.left(), bar.bottom() - 3), Role(QPalette::Button));
        EXPECT_NE(PixelAt(drawn, bar.right(), bar.bottom() - 3), Role(QPalette::Button));
    }

    TEST_F(ProgressDrawing, FillGrowsWithThePositionUpToOnePixelInsideTheFrame)
    {
        const QRect bar = Bar();
        const int fullRight = bar.right() - 1; // last filled column when full
        const struct {
            unsigned position;
            unsigned maximum;
            int lastFilled;
        } cases[] = {
            { 1, 3,
                std::min(static_cast<int>(static_cast<float>(bar.width()) * (1.0f / 3.0f)) + bar.left(),
                    fullRight) },
            { 50, 100, std::min(bar.width() / 2 + bar.left(), fullRight) },
            { 100, 100, fullRight },
            { 250, 100, fullRight },
            { 7, 0, fullRight },
            { 0, 0, fullRight },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.position << " of " << c.maximum);
            SetProgress(c.position, c.maximum);
            const QRect fill = Fill();
            ASSERT_FALSE(fill.isEmpty());
            EXPECT_EQ(fill.left(), bar.left() + 1);
            EXPECT_EQ(fill.right(), c.lastFilled);
            EXPECT_EQ(fill.top(), bar.top() + 1);
            EXPECT_EQ(fill.bottom(), bar.bottom() - 1);
        }
    }

    TEST_F(ProgressDrawing, PercentTextReplacesTheCellTextWhenSwitchedOn)
    {
        EXPECT_EQ(ProgressText(1, 3), QStringLiteral("33.33%"));
        EXPECT_EQ(ProgressText(0, 0), QStringLiteral("100.00%"));
        EXPECT_EQ(ProgressText(0, 10), QStringLiteral("0.00%"));
        EXPECT_EQ(ProgressText(11, 10), QStringLiteral("100.00%"));

        const struct {
            unsigned position;
            unsigned maximum;
            const char* shown;
        } cases[] = { { 1, 3, "33.33%" }, { 0, 0, "100.00%" }, { 0, 5, "0.00%" } };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.shown);
            SetProgress(c.position, c.maximum);
            list->SetOptions(SortOnHeaderClick);
            list->SetItemText(0, 1, QString::fromLatin1(c.shown));
            const QImage ownText = CellImage(0, 1);
            list->SetOptions(ShowProgressText);
            list->SetItemText(0, 1, QStringLiteral("own"));
            EXPECT_EQ(CellImage(0, 1), ownText);
        }
        // Switched off, the bar shows the cell's own text.
        list->SetOptions(0);
        const QImage own = CellImage(0, 1);
        list->SetItemText(0, 1, QStringLiteral("other"));
        EXPECT_NE(CellImage(0, 1), own);
    }

    TEST_F(ProgressDrawing, SelectedBarUsesTheHotTrackingColour)
    {
        SetProgress(0, 100);
        list->selectRow(0);
        const QImage drawn = CellImage(0, 1);
        const QRect bar = Bar();
        EXPECT_EQ(PixelAt(drawn, bar.left() + 4, bar.bottom() - 3), Role(QPalette::Link));
        EXPECT_EQ(PixelAt(drawn, 1, bar.bottom() - 3), Role(QPalette::Highlight));
    }

} // namespace
} // namespace ListCtrlEx::test
