// In-place edit box and drop-down, driven with keys and clicks.
#include "ListCtrlExTestSupport.h"

#include "InPlaceCombo.h"
#include "InPlaceEdit.h"

#include <QAbstractItemView>
#include <QClipboard>

namespace ListCtrlEx::test {
namespace {

    class ListEditing : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            list->SetDlgCtrlID(1003);
            AddRows({ "0", "1", "2", "3" });
            for (int r = 0; r < 4; ++r) {
                list->SetColumnType(r, r == 2 ? ColumnType::Combo : ColumnType::Edit);
                list->GetCellInfo(r, 3).validChars = QStringLiteral("0123456789");
                list->GetCellInfo(r, 2).comboItems = QStringList { "Alpha", "beta", "Bravo", "alpine" };
            }
            list->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
        }
        // Clicks the cell and waits for its editor window to take the focus.
        template <typename Editor> auto* Open(int row, int column)
        {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last edit's window
            Click(Center(row, column));
            auto* window = Editor::GetInstance()->Window();
            EXPECT_TRUE(window && QTest::qWaitFor([&] { return window->hasFocus(); }, 2000));
            return window;
        }

        QSignalSpy endEdits { list.get(), &CListCtrlEx::listExEndEdit };
        QSignalSpy beginEdits { list.get(), &CListCtrlEx::listExBeginEdit };
    };

    TEST_F(ListEditing, ClickOpensTheBoxOverTheCellEnterOrAClickElsewhereCommitsOnce)
    {
        list->SetItemText(1, 1, QStringLiteral("start"));
        QLineEdit* edit = Open<CInPlaceEdit>(1, 1);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(PosAt(beginEdits, 0), (CellPos { 1, 1 }));
        EXPECT_EQ(edit->geometry(), Cell(1, 1));
        EXPECT_EQ(edit->selectedText(), QStringLiteral("start"));
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("typed"));
        ASSERT_EQ(endEdits.count(), 1);
        const auto n = endEdits.last().at(1).value<EndEditNotify>();
        EXPECT_EQ(std::tuple(endEdits.at(0).at(0).toInt(), n.source, n.sourceId, n.code, n.mask, n.item,
                      n.subItem, n.textLength),
            std::tuple(1003, list.get(), kInPlaceEditId, LVN_ENDLABELEDITW, LVIF_TEXT, 1, 1, 5));

        // A click on another edit cell commits; the box is still closing, so that
        // click opens nothing; the next click does.
        edit = Open<CInPlaceEdit>(2, 1);
        QTest::keyClicks(edit, QStringLiteral("first"));
        Click(Center(3, 1));
        EXPECT_EQ(list->GetItemText(2, 1), QStringLiteral("first"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Window(), nullptr);
        Open<CInPlaceEdit>(3, 1);
        EXPECT_EQ(endEdits.count(), 2) << "each edit ends exactly once";
        // Destroying the list closes the open box.
        const QPointer<QLineEdit> open = CInPlaceEdit::GetInstance()->Window();
        list.reset();
        EXPECT_FALSE(open);
    }

    TEST_F(ListEditing, DigitFilterRefusesLettersWithABeepButNotEditingKeys)
    {
        list->SetItemText(1, 3, QStringLiteral("12"));
        QLineEdit* edit = Open<CInPlaceEdit>(1, 3);
        ASSERT_NE(edit, nullptr);
        QSignalSpy refused(edit, SIGNAL(characterRefused(QChar)));
        edit->setCursorPosition(2);
        QTest::keyClicks(edit, QStringLiteral("3a4"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("123123"));
        QGuiApplication::clipboard()->setText(QStringLiteral("45x6")); // a letter: nothing pasted
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("123123"));
        EXPECT_EQ(refused.count(), 1) << "only the letter beeps";
    }

    TEST_F(ListEditing, ComboSelectsThePrefixMatchFromTheSecondChoiceOnAndCommitsIt)
    {
        const std::tuple<const char*, int, Qt::Key, const char*> cases[]
            = { { "al", 3, Qt::Key_Return, "alpine" }, // found before wrapping round to "Alpha"
                  { "ALPH", 0, Qt::Key_Return, "Alpha" }, { "Beta", 1, Qt::Key_Escape, "Beta" },
                  { "gamma", -1, Qt::Key_Return, "" }, // nothing matches: nothing selected
                  { "", -1, Qt::Key_Escape, "" } };
        for (const auto& [text, selected, key, committed] : cases) {
            list->SetItemText(0, 2, QString::fromLatin1(text));
            QComboBox* combo = Open<CInPlaceCombo>(0, 2);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->geometry(), Cell(0, 2));
            EXPECT_EQ(combo->currentIndex(), selected) << text;
            combo->setCurrentIndex(key == Qt::Key_Escape ? 2 : selected); // Escape drops a choice
            QTest::keyClick(combo, key);
            EXPECT_EQ(list->GetItemText(0, 2), QString::fromLatin1(committed)) << text;
        }
        // A choice taken from the opened list commits at once.
        QComboBox* combo = Open<CInPlaceCombo>(3, 2);
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(2, 0)).center());
        QTRY_COMPARE_WITH_TIMEOUT(endEdits.count(), 6, 2000);
        EXPECT_EQ(list->GetItemText(3, 2), QStringLiteral("Bravo"));
    }

} // namespace
} // namespace ListCtrlEx::test
