#pragma once

#include "ListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace ListCtrlEx::test {

// A shown list with four 120-pixel text columns, as the search page sets it up.
// Queued notifications and editor windows go with the list.
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int c = 0; c < 4; ++c)
            list->InsertColumn(c, QStringLiteral("Col %1").arg(c), 120);
        list->resize(560, 300);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
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
    QRect Cell(int row, int column) const { return list->GetCellRect(row, column).value_or(QRect()); }
    QPoint Center(int row, int column) const { return Cell(row, column).center(); }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(list->viewport(), button, modifiers, at);
    }
    void ClickHeader(int column)
    {
        QHeaderView* header = list->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QStringList ColumnTexts(int column) const
    {
        QStringList texts;
        for (int r = 0; r < list->GetItemCount(); ++r)
            texts << list->GetItemText(r, column);
        return texts;
    }

    static CellPos PosAt(const QSignalSpy& spy, int index) { return spy.at(index).at(1).value<CellPos>(); }
    static int CheckedAt(const QSignalSpy& spy, int i) { return spy.at(i).at(1).value<CellCheck>().checked; }
    static QImage Grab(QWidget* widget)
    {
        return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QColor Role(const QWidget* widget, QPalette::ColorRole role)
    {
        return widget->palette().color(role).rgb();
    }
    // Bounding box of the pixels inside `area` whose colour passes `test`.
    template <typename Test> static QRect InkBounds(const QImage& image, const QRect& area, Test test)
    {
        QRect bounds;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                bounds |= test(QColor(image.pixel(x, y))) ? QRect(x, y, 1, 1) : QRect();
        }
        return bounds;
    }
    static QRect InkOf(const QImage& image, const QColor& color)
    {
        return InkBounds(image, image.rect(), [&](const QColor& c) { return c == color; });
    }

    std::unique_ptr<CListCtrlEx> list = std::make_unique<CListCtrlEx>();
};

} // namespace ListCtrlEx::test
