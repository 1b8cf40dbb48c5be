#pragma once

#include "ListCtrlEx.h"
#include "ListCtrlExSortHead.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace ListCtrlEx::test {

// A shown list with four 120-pixel text columns, as the search page sets it up.
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = std::make_unique<CListCtrlEx>();
        list->resize(560, 300);
        for (int c = 0; c < 4; ++c)
            ASSERT_EQ(list->InsertColumn(c, QStringLiteral("Col %1").arg(c), 120), c);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    }

    void TearDown() override
    {
        list.reset();
        // Let queued notifications and deferred deletions of this test go.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Column 0 holds the given texts; other columns hold "r<row>c<column>".
    void AddRows(const QStringList& firstColumn)
    {
        for (const QString& text : firstColumn) {
            const int row = list->InsertItem(list->GetItemCount(), text);
            for (int c = 1; c < list->GetColumnCount(); ++c)
                list->SetItemText(row, c, QStringLiteral("r%1c%2").arg(row).arg(c));
        }
    }

    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i)
            AddRows(QStringList { QString::number(i) });
    }

    QRect Cell(int row, int column) const
    {
        const std::optional<QRect> rect = list->GetCellRect(row, column);
        EXPECT_TRUE(rect.has_value());
        return rect.value_or(QRect());
    }

    QPoint CellCenter(int row, int column) const { return Cell(row, column).center(); }

    void Click(QPoint point, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list->viewport(), button, modifiers, point);
    }

    void ClickHeader(int column)
    {
        QHeaderView* header = list->horizontalHeader();
        const QPoint point(
            header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    }

    QStringList ColumnTexts(int column) const
    {
        QStringList texts;
        for (int r = 0; r < list->GetItemCount(); ++r)
            texts << list->GetItemText(r, column);
        return texts;
    }

    std::unique_ptr<CListCtrlEx> list;
};

inline CellPos PosAt(const QSignalSpy& spy, int index)
{
    return spy.at(index).at(1).value<CellPos>();
}

inline CellCheck CheckAt(const QSignalSpy& spy, int index)
{
    return spy.at(index).at(1).value<CellCheck>();
}

// Bounding box of the pixels inside `area` that differ from (or, with `equal`,
// match) the given colour; empty when none.
inline QRect InkBounds(const QImage& image, const QRect& area, const QColor& color, bool equal = false)
{
    const QRgb c = color.rgb() | 0xFF000000u;
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (((image.pixel(x, y) | 0xFF000000u) == c) == equal)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A palette colour as 8-bit colour, the way it lands in a grabbed image.
inline QColor Role(const QWidget* widget, QPalette::ColorRole role)
{
    return QColor(widget->palette().color(QPalette::Active, role).rgb());
}

inline bool HasPixel(const QImage& image, const QRect& area, const QColor& color)
{
    return !InkBounds(image, area, color, true).isEmpty();
}

inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Text drawn the plain way on a plain background: what a cell or header item
// must match at the same place.
inline QImage ReferenceText(QSize size, const QFont& font, const QColor& background, const QColor& color,
    const QRect& textRect, int flags, const QString& text)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(textRect, flags, text);
    return image;
}

} // namespace ListCtrlEx::test

namespace ListCtrlEx {

inline void PrintTo(const CellPos& pos, std::ostream* os)
{
    *os << "(" << pos.row << ", " << pos.column << ")";
}

} // namespace ListCtrlEx
