#pragma once

#include "ListTypes.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace ListCtrlEx {

// Everything the drawing of one cell depends on.
struct CellPaintInput {
    QRect rect;
    QString text;
    bool selected = false;
    ColumnType type = ColumnType::Text;
    CellInfo info;
    int format = 0; // LVCFMT_* bits of the column
    QColor cellBackground; // the cell's own colour, used by text cells
    const QList<QPixmap>* imageList = nullptr;
    bool showProgressText = false;
};

// Draws a cell by its column's kind, with the widget's palette and style. Text
// sits at the top of its rectangle and is clipped to it.
void PaintCell(QPainter& painter, const QWidget& widget, const CellPaintInput& cell);

} // namespace ListCtrlEx
