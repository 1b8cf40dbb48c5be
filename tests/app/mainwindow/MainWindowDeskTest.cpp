// The window on a desk: it grows with its result list and opens at the size
// it was left at; Tab follows the template order and the keyboard opens a
// row's menu.
#include "MainWindowFixture.h"

#include "DialogBuilder.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

namespace quill::test {
namespace {

    int VisibleRows(ListCtrlEx::CListCtrlEx& list)
    {
        int rows = 0;
        for (int row = 0; row < list.GetItemCount(); ++row)
            rows += list.viewport()->rect().contains(list.visualRect(list.model()->index(row, 0))) ? 1 : 0;
        return rows;
    }

    int OpenMenus()
    {
        int menus = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            menus += qobject_cast<QMenu*>(widget) && widget->isVisible() ? 1 : 0;
        return menus;
    }

    TEST_F(MainWindowTest, GrowsWithTheResultListAndOpensAtTheSizeItWasLeftAt)
    {
        const std::string foreign = "; mine\n[system]\nLANG=0\n[other]\nx=1\n";
        WriteWholeFile(dir.file("Config.ini"), foreign);
        Start();
        window.reset();
        EXPECT_EQ(ConfigText(), foreign) << "a run without a resize writes nothing";

        Start();
        auto& list = Search().ResultList();
        for (int i = 0; i < 60; ++i)
            Search().AddDeviceRow({ "10.0.0." + std::to_string(i), "s", "m" + std::to_string(i), "d", "f" });
        const QRect small = list.geometry();
        const int smallRows = VisibleRows(list);
        const QPoint search = Search().GetDlgItem(1007)->pos(), language = Search().GetDlgItem(1008)->pos();
        window->resize(1000, 700);
        ASSERT_TRUE(QTest::qWaitFor([&] { return list.width() > small.width() + 300; }, 2000));
        const QSize grown = list.size() - small.size();
        EXPECT_GT(grown.height(), 200);
        EXPECT_GT(VisibleRows(list), smallRows);
        EXPECT_EQ(Search().GetDlgItem(1007)->pos(), search + QPoint(grown.width(), 0));
        EXPECT_EQ(Search().GetDlgItem(1008)->pos(), language + QPoint(grown.width(), grown.height()));
        window.reset();
        EXPECT_EQ(ConfigText(), foreign + "[window]\nWidth=1000\nHeight=700\n");
        Start();
        EXPECT_EQ(window->size(), QSize(1000, 700));
    }

    TEST_F(MainWindowTest, TabFollowsTheTemplateOrderAndTheKeyboardOpensTheRowMenuOnce)
    {
        Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        const auto focused = [] {
            for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
                if (const int id = ControlIdOf(*widget))
                    return id;
            return 0;
        };
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        Search().GetDlgItem(1000)->setFocus();
        std::vector<int> visited { focused() };
        for (int stop = 0; stop < 5; ++stop) {
            press(Qt::Key_Tab);
            visited.push_back(focused());
        }
        EXPECT_EQ(visited, (std::vector<int> { 1000, 1001, 1002, 1003, 1007, 1008 }));
        press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(Device().isVisible() && Device().isAncestorOf(QApplication::focusWidget()));
        press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(Search().isVisible());

        auto& list = Search().ResultList();
        list.setFocus();
        press(Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_EQ(OpenMenus(), 0) << "no row, no menu";
        Search().AddDeviceRow({ "10.0.0.1", "s", "m", "d", "f" });
        list.setCurrentIndex(list.model()->index(0, 0));
        press(Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_EQ(OpenMenus(), 1);
        QApplication::activePopupWidget()->close();
        // The Menu key under X11: a context menu request, then the key itself.
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(&list, &request);
        QTest::keyClick(&list, Qt::Key_Menu);
        EXPECT_EQ(OpenMenus(), 1);
    }

} // namespace
} // namespace quill::test
