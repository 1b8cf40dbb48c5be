#include "CellPainter.h"

#include "ListNotifications.h"
#include "SystemColors.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <qdrawutil.h>

#include <algorithm>

namespace ListCtrlEx {

namespace {

    // Colour of the progress bar's filled part.
    const QColor kProgressFillColor { 51, 102, 153 };
    // Text colour of a disabled edit cell.
    const QColor kDisabledEditTextColor { 192, 192, 192 };

    // Rectangles below are reasoned about with exclusive right and bottom edges,
    // as the cell geometry is described; this turns such edges into a QRect.
    QRect FromEdges(int left, int top, int right, int bottom)
    {
        return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
    }

    int RightEdge(const QRect& r)
    {
        return r.x() + r.width();
    }

    int BottomEdge(const QRect& r)
    {
        return r.y() + r.height();
    }

    Qt::Alignment HorizontalAlignment(int format)
    {
        if (format & LVCFMT_CENTER)
            return Qt::AlignHCenter;
        if (format & LVCFMT_RIGHT)
            return Qt::AlignRight;
        return Qt::AlignLeft;
    }

    // The squares the style's frames are drawn in: the check box 7 pixels in with
    // a 2-pixel margin above and below, the radio button with a 1-pixel margin, the
    // combo button at the right end.
    QRect CheckBoxSquare(const QRect& cell)
    {
        const int left = cell.x() + 7;
        return FromEdges(left, cell.y() + 2, left + (cell.height() - 4), BottomEdge(cell) - 2);
    }

    QRect RadioSquare(const QRect& cell)
    {
        const int left = cell.x() + 7;
        return FromEdges(left, cell.y() + 1, left + (cell.height() - 2), BottomEdge(cell) - 1);
    }

    QRect ComboButtonSquare(const QRect& cell)
    {
        const int right = RightEdge(cell);
        return FromEdges(right - 1 - cell.height(), cell.y() + 1, right - 2, BottomEdge(cell));
    }

    // Where text or a bar starts: 3 pixels in, or 3 pixels after an image square
    // as high as the cell.
    int ContentLeft(const QRect& cell, bool hasImage)
    {
        return cell.x() + (hasImage ? cell.height() : 0) + 3;
    }

    float ProgressRatio(unsigned position, unsigned maximum)
    {
        if (position >= maximum)
            return 1.0f;
        if (position == 0)
            return 0.0f;
        return static_cast<float>(position) / static_cast<float>(maximum);
    }

    QRect ProgressFillRect(const QRect& bar, unsigned position, unsigned maximum)
    {
        const int left = bar.x();
        const int filled
            = static_cast<int>(static_cast<float>(bar.width()) * ProgressRatio(position, maximum));
        const int right = std::min(filled + left + 1, RightEdge(bar) - 1);
        return FromEdges(left + 1, bar.y() + 1, right, BottomEdge(bar) - 1);
    }

    // The progress cell's percentage, "%.2f%%" of position over maximum; a
    // position at or above the maximum (also a maximum of 0) is 100 %.
    QString ProgressText(unsigned position, unsigned maximum)
    {
        const float percent = ProgressRatio(position, maximum) * 100.0f;
        return QString::asprintf("%.2f%%", static_cast<double>(percent));
    }

    struct Colors {
        QColor text;
        QColor background;
    };

    class CellDrawer {
    public:
        CellDrawer(QPainter& painter, const QWidget& widget, const CellPaintInput& cell)
            : m_painter(painter)
            , m_widget(widget)
            , m_cell(cell)
            , m_left(cell.rect.x())
            , m_top(cell.rect.y())
            , m_right(RightEdge(cell.rect))
            , m_bottom(BottomEdge(cell.rect))
            , m_height(cell.rect.height())
        {
        }

        void Draw()
        {
            switch (m_cell.type) {
            case ColumnType::CheckBox:
                DrawCheckBox();
                return;
            case ColumnType::Radio:
                DrawRadio();
                return;
            case ColumnType::Combo:
                DrawCombo();
                return;
            case ColumnType::Edit:
                DrawEdit();
                return;
            case ColumnType::Progress:
                DrawProgress();
                return;
            default:
                DrawText();
                return;
            }
        }

    private:
        QColor System(SystemColor color) const { return SystemColorOf(&m_widget, color); }

        QColor SelectedOr(SystemColor selected, SystemColor normal) const
        {
            return System(m_cell.selected ? selected : normal);
        }

        bool HasImage() const { return m_cell.info.image >= 0 && m_cell.imageList != nullptr; }

        // Draws the cell's image at the top-left corner, cut to a square as high as
        // the cell; returns where the content starts.
        int PlaceImage()
        {
            if (!HasImage())
                return ContentLeft(m_cell.rect, false);
            if (m_cell.info.image < m_cell.imageList->size()) {
                const QPixmap& image = m_cell.imageList->at(m_cell.info.image);
                const QRect source(0, 0,
                    std::min(static_cast<int>(image.width() / image.devicePixelRatio()), m_height),
                    std::min(static_cast<int>(image.height() / image.devicePixelRatio()), m_height));
                m_painter.drawPixmap(QRect(QPoint(m_left, m_top), source.size()), image,
                    QRectF(source.topLeft() * image.devicePixelRatio(),
                        source.size() * image.devicePixelRatio()));
            }
            return ContentLeft(m_cell.rect, true);
        }

        void Text(const QRect& rect, Qt::Alignment horizontal, const QColor& color, const QString& text)
        {
            m_painter.save();
            m_painter.setPen(color);
            m_painter.drawText(rect, static_cast<int>(horizontal | Qt::AlignTop), text);
            m_painter.restore();
        }

        void DrawText()
        {
            const Colors colors { SelectedOr(SystemColor::HighlightText, SystemColor::WindowText),
                m_cell.selected ? System(SystemColor::Highlight) : m_cell.cellBackground };
            m_painter.fillRect(m_cell.rect, colors.background);
            const int content = PlaceImage();
            Text(FromEdges(content, m_top, m_right, m_bottom), HorizontalAlignment(m_cell.format),
                colors.text, m_cell.text);
        }

        Colors BoxColors() const
        {
            return { SelectedOr(SystemColor::HighlightText, SystemColor::WindowText),
                SelectedOr(SystemColor::Highlight, SystemColor::Window) };
        }

        QStyleOptionButton ButtonOption(const QRect& square, bool hot) const
        {
            QStyleOptionButton option;
            option.initFrom(&m_widget);
            option.rect = square;
            option.state = QStyle::State_None;
            if (m_cell.info.enabled) {
                option.state |= QStyle::State_Enabled;
                option.palette.setCurrentColorGroup(QPalette::Active);
            } else {
                option.palette.setCurrentColorGroup(QPalette::Disabled);
            }
            option.state |= m_cell.info.checked ? QStyle::State_On : QStyle::State_Off;
            if (hot)
                option.state |= QStyle::State_MouseOver;
            return option;
        }

        // Check-box and radio cells: the box on a window-coloured square, the text
        // after it. The strips around the box are left as they are.
        void DrawBoxCell(const QRect& square, QStyle::PrimitiveElement element, bool hot)
        {
            const Colors colors = BoxColors();
            const QRect textRect = FromEdges(RightEdge(square) + 3, m_top, m_right, m_bottom);
            m_painter.fillRect(textRect, colors.background);
            m_painter.fillRect(square, System(SystemColor::Window));
            const QStyleOptionButton option = ButtonOption(square, hot);
            m_widget.style()->drawPrimitive(element, &option, &m_painter, &m_widget);
            Text(textRect, Qt::AlignLeft, colors.text, m_cell.text);
        }

        void DrawCheckBox()
        {
            DrawBoxCell(CheckBoxSquare(m_cell.rect), QStyle::PE_IndicatorCheckBox, m_cell.selected);
        }

        void DrawRadio() { DrawBoxCell(RadioSquare(m_cell.rect), QStyle::PE_IndicatorRadioButton, false); }

        void DrawCombo()
        {
            const Colors colors = BoxColors();
            m_painter.fillRect(m_cell.rect, System(SystemColor::Window));
            const QRect button = ComboButtonSquare(m_cell.rect);
            const QRect textRect = FromEdges(m_left + 2, m_top, button.x() - 3, m_bottom);
            m_painter.fillRect(textRect, colors.background);

            QStyleOptionButton option = ButtonOption(button, m_cell.selected);
            if (m_cell.info.checked)
                option.state |= QStyle::State_Sunken;
            else
                option.state |= QStyle::State_Raised;
            QStyle* style = m_widget.style();
            style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &m_painter, &m_widget);
            const int inset = std::max(1, button.width() / 4);
            option.rect = button.adjusted(inset, inset, -inset, -inset);
            style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &m_painter, &m_widget);

            Text(textRect, Qt::AlignLeft, colors.text, m_cell.text);
        }

        void DrawEdit()
        {
            const QColor text = SelectedOr(SystemColor::HighlightText, SystemColor::WindowText);
            const QColor disabledText
                = m_cell.selected ? System(SystemColor::HighlightText) : kDisabledEditTextColor;
            m_painter.fillRect(m_cell.rect, SelectedOr(SystemColor::Highlight, SystemColor::Window));
            const int content = PlaceImage();
            Text(FromEdges(content, m_top, m_right, m_bottom), HorizontalAlignment(m_cell.format),
                m_cell.info.enabled ? text : disabledText, m_cell.text);
        }

        void DrawProgress()
        {
            const QColor text = SelectedOr(SystemColor::HighlightText, SystemColor::WindowText);
            const QColor barBackground = SelectedOr(SystemColor::HotLight, SystemColor::Face3D);
            m_painter.fillRect(m_cell.rect, SelectedOr(SystemColor::Highlight, SystemColor::Window));
            const int content = PlaceImage();

            const QRect bar = FromEdges(content, m_top, m_right, m_bottom);
            m_painter.fillRect(bar, barBackground);
            // The platform's two-pixel sunken edge.
            qDrawWinPanel(&m_painter, bar, m_widget.palette(), true, nullptr);
            m_painter.fillRect(
                ProgressFillRect(bar, m_cell.info.progressPos, m_cell.info.progressMax), kProgressFillColor);

            const QString label = m_cell.showProgressText
                ? ProgressText(m_cell.info.progressPos, m_cell.info.progressMax)
                : m_cell.text;
            Text(bar, Qt::AlignHCenter, text, label);
        }

        QPainter& m_painter;
        const QWidget& m_widget;
        const CellPaintInput& m_cell;
        const int m_left;
        const int m_top;
        const int m_right;
        const int m_bottom;
        const int m_height;
    };

} // namespace

void PaintCell(QPainter& painter, const QWidget& widget, const CellPaintInput& cell)
{
    CellDrawer(painter, widget, cell).Draw();
}

} // namespace ListCtrlEx
