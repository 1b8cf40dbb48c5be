#include "FindingMarks.h"

#include "ListCtrlEx.h"
#include "SystemColors.h"
#include "WarningColour.h"

#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>

namespace searchpage {

namespace {

    constexpr unsigned kImageListKind = 0;
    constexpr int kWarningImage = 0;
    // How much of the warning colour the background takes.
    constexpr double kWarmth = 0.22;

    // An amber triangle with a white exclamation mark, as high as a row.
    QPixmap WarningImage(int side)
    {
        QPixmap image(side, side);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const double inset = side / 8.0;
        QPainterPath triangle;
        triangle.moveTo(side / 2.0, inset);
        triangle.lineTo(side - inset, side - inset);
        triangle.lineTo(inset, side - inset);
        triangle.closeSubpath();
        painter.fillPath(triangle, WarningColour());
        painter.setPen(QPen(Qt::white, std::max(1.5, side / 9.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(side / 2.0, side * 0.38), QPointF(side / 2.0, side * 0.64));
        painter.drawPoint(QPointF(side / 2.0, side * 0.76));
        return image;
    }

} // namespace

void PrepareFindingMarks(ListCtrlEx::CListCtrlEx& list, unsigned options)
{
    list.SetImageList(kImageListKind, { WarningImage(list.verticalHeader()->defaultSectionSize()) });
    list.SetImageListKind(kImageListKind);
    list.SetOptions(options | ListCtrlEx::CellsFollowRows);
}

void ShowFindingMark(ListCtrlEx::CListCtrlEx& list, int row, bool marked)
{
    const QColor background = FindingBackground(list);
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        if (marked)
            list.SetCellBkColor(row, column, background);
        else
            list.RemoveCellBkColor(row, column);
    }
    list.SetCellImage(row, 0, marked ? kWarningImage : -1);
}

QColor FindingBackground(const ListCtrlEx::CListCtrlEx& list)
{
    const QColor window = ListCtrlEx::SystemColorOf(&list, ListCtrlEx::SystemColor::Window);
    const QColor warm = WarningColour();
    const auto mix = [](int base, int tint) { return static_cast<int>(base + (tint - base) * kWarmth); };
    return QColor(
        mix(window.red(), warm.red()), mix(window.green(), warm.green()), mix(window.blue(), warm.blue()));
}

} // namespace searchpage
