#pragma once

#include "ListCtrlEx.h"
#include "ListCtrlExSortHead.h"

#include <QApplication>
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

} // namespace ListCtrlEx::test

namespace ListCtrlEx {

inline void PrintTo(const CellPos& pos, std::ostream* os)
{
    *os << "(" << pos.row << ", " << pos.column << ")";
}

} // namespace ListCtrlEx
