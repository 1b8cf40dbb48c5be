// In-place edit box and drop-down, driven with keys and clicks.
#include "ListCtrlExTestSupport.h"

#include "InPlaceCombo.h"
#include "InPlaceEdit.h"

#include <QAbstractItemView>
#include <QClipboard>

#include <optional>

namespace ListCtrlEx::test {
namespace {

    constexpr int kEditColumn = 1;
    constexpr int kComboColumn = 2;
    constexpr int kDigitsColumn = 3;

    class ListEditing : public ListFixture {
    protected:
        void SetUp() override
        {
            ListFixture::SetUp();
            list->SetDlgCtrlID(1003);
            AddRows(4);
            list->SetColumnType(kEditColumn, ColumnType::Edit);
            list->SetColumnType(kComboColumn, ColumnType::Combo);
            list->SetColumnType(kDigitsColumn, ColumnType::Edit);
            for (int r = 0; r < 4; ++r) {
                list->GetCellInfo(r, kDigitsColumn).validChars = QStringLiteral("0123456789");
                list->GetCellInfo(r, kComboColumn).comboItems
                    = QStringList { "Alpha", "beta", "Bravo", "alpine" };
            }
            list->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(list.get()));
            list->setFocus();
            endEdits.emplace(list.get(), &CListCtrlEx::listExEndEdit);
            beginEdits.emplace(list.get(), &CListCtrlEx::listExBeginEdit);
        }

        void TearDown() override
        {
            QGuiApplication::clipboard()->clear();
            ListFixture::TearDown();
        }

        // Clicks the cell and waits for its editor window to take the focus.
        template <typename Editor> auto* Open(int row, int column)
        {
            Click(CellCenter(row, column));
            auto* window = Editor::GetInstance()->Window();
            EXPECT_TRUE(window && QTest::qWaitFor([&] { return window->hasFocus(); }, 2000));
            return window;
        }

        QLineEdit* OpenEdit(int row, int column) { return Open<CInPlaceEdit>(row, column); }
        QComboBox* OpenCombo(int row) { return Open<CInPlaceCombo>(row, kComboColumn); }

        // Lets the closed editor window go.
        static void FinishClose()
        {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }

        EndEditNotify LastEndEdit() const { return endEdits->last().at(1).value<EndEditNotify>(); }

        std::optional<QSignalSpy> endEdits;
        std::optional<QSignalSpy> beginEdits;
    };

    TEST_F(ListEditing, ClickOpensTheEditBoxAfterAnnouncingItEnterCommitsEscapeRestores)
    {
        list->SetItemText(1, kEditColumn, QStringLiteral("start"));
        bool windowBeforeBegin = true;
        QObject::connect(list.get(), &CListCtrlEx::listExBeginEdit, list.get(),
            [&] { windowBeforeBegin = CInPlaceEdit::GetInstance()->Window() != nullptr; });

        QLineEdit* edit = OpenEdit(1, kEditColumn);
        ASSERT_NE(edit, nullptr);
        ASSERT_EQ(beginEdits->count(), 1);
        EXPECT_EQ(PosAt(*beginEdits, 0), (CellPos { 1, kEditColumn }));
        EXPECT_FALSE(windowBeforeBegin);
        EXPECT_EQ(edit->geometry(), Cell(1, kEditColumn));
        EXPECT_EQ(edit->selectedText(), QStringLiteral("start"));
        EXPECT_EQ(edit->property("dlgCtrlId").toInt(), kInPlaceEditId);

        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(list->GetItemText(1, kEditColumn), QStringLiteral("typed"));
        ASSERT_EQ(endEdits->count(), 1);
        EXPECT_EQ(endEdits->at(0).at(0).toInt(), 1003);
        const EndEditNotify notify = LastEndEdit();
        EXPECT_EQ(notify.source, list.get());
        EXPECT_EQ(notify.sourceId, kInPlaceEditId);
        EXPECT_EQ(notify.code, LVN_ENDLABELEDITW);
        EXPECT_EQ(notify.mask, LVIF_TEXT);
        EXPECT_EQ(notify.item, 1);
        EXPECT_EQ(notify.subItem, kEditColumn);
        EXPECT_EQ(notify.text, QStringLiteral("typed"));
        EXPECT_EQ(notify.textLength, 5);
        EXPECT_TRUE(list->hasFocus());

        FinishClose();
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Window(), nullptr);
        EXPECT_EQ(endEdits->count(), 1) << "an edit ends exactly once";

        // Escape restores the initial text and still tells the parent.
        edit = OpenEdit(1, kEditColumn);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QStringLiteral("discarded"));
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_EQ(list->GetItemText(1, kEditColumn), QStringLiteral("typed"));
        ASSERT_EQ(endEdits->count(), 2);
        EXPECT_EQ(LastEndEdit().text, QStringLiteral("typed"));
    }

    TEST_F(ListEditing, ClicksElsewhereCommitWithoutOpeningANewEditor)
    {
        QLineEdit* edit = OpenEdit(3, kEditColumn);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QStringLiteral("clicked away"));
        Click(CellCenter(0, 0));
        EXPECT_EQ(list->GetItemText(3, kEditColumn), QStringLiteral("clicked away"));
        EXPECT_EQ(endEdits->count(), 1);
        FinishClose();

        // On another editable cell: the open box is still closing when the click
        // asks for the next one, so none opens; the click after does.
        edit = OpenEdit(2, kEditColumn);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QStringLiteral("first"));
        Click(CellCenter(3, kDigitsColumn));
        EXPECT_EQ(list->GetItemText(2, kEditColumn), QStringLiteral("first"));
        EXPECT_EQ(endEdits->count(), 2);
        FinishClose();
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Window(), nullptr);
        ASSERT_NE(OpenEdit(3, kDigitsColumn), nullptr);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Row(), 3);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Column(), kDigitsColumn);
    }

    TEST_F(ListEditing, NoEditorForDisabledCellsModifierClicksOrCellsOutsideTheList)
    {
        list->GetCellInfo(0, kEditColumn).enabled = 0;
        Click(CellCenter(0, kEditColumn));
        Click(CellCenter(1, kEditColumn), Qt::ControlModifier);
        Click(CellCenter(1, kComboColumn), Qt::ShiftModifier);
        list->ShowInPlaceEdit(4, kEditColumn);
        list->ShowInPlaceCombo(0, 4);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Window(), nullptr);
        EXPECT_EQ(CInPlaceCombo::GetInstance()->Window(), nullptr);
        EXPECT_EQ(beginEdits->count(), 0);
    }

    TEST_F(ListEditing, DigitFilterRefusesLettersWithABeep)
    {
        list->SetItemText(1, kDigitsColumn, QStringLiteral("12"));
        QLineEdit* edit = OpenEdit(1, kDigitsColumn);
        ASSERT_NE(edit, nullptr);
        QSignalSpy refused(edit, SIGNAL(characterRefused(QChar)));
        edit->setCursorPosition(2);

        QTest::keyClicks(edit, QStringLiteral("3a4"));
        EXPECT_EQ(edit->text(), QStringLiteral("1234"));
        ASSERT_EQ(refused.count(), 1);
        EXPECT_EQ(refused.at(0).at(0).value<QChar>(), QLatin1Char('a'));

        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), QStringLiteral("123"));

        // Copy, cut and paste keys pass the filter.
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("123"));
        edit->setSelection(0, 1);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("23"));
        edit->setCursorPosition(2);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), QStringLiteral("231"));
        EXPECT_EQ(refused.count(), 1);

        // A paste holding a letter pastes nothing, silently.
        QGuiApplication::clipboard()->setText(QStringLiteral("45x6"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        static_cast<CInPlaceEditWindow*>(edit)->FilteredPaste();
        EXPECT_EQ(edit->text(), QStringLiteral("231"));
        EXPECT_EQ(refused.count(), 1);

        // Other control characters are refused like letters.
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(refused.count(), 2);

        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(list->GetItemText(1, kDigitsColumn), QStringLiteral("231"));
    }

    TEST_F(ListEditing, ComboOpensOverTheCellWithThePrefixMatchFromTheSecondChoiceOn)
    {
        const struct {
            const char* cellText;
            int selected;
        } cases[] = {
            { "al", 3 }, // "alpine" is found before wrapping round to "Alpha"
            { "ALPH", 0 }, // only the first choice matches: found after wrapping
            { "br", 2 },
            { "Beta", 1 },
            { "gamma", -1 }, // nothing matches: nothing selected
            { "", -1 },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.cellText);
            list->SetItemText(0, kComboColumn, QString::fromLatin1(c.cellText));
            QComboBox* combo = OpenCombo(0);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->geometry(), Cell(0, kComboColumn));
            EXPECT_EQ(combo->count(), 4);
            EXPECT_EQ(combo->currentIndex(), c.selected);
            QTest::keyClick(combo, Qt::Key_Escape);
            FinishClose();
        }
        EXPECT_EQ(beginEdits->count(), 6);
    }

    TEST_F(ListEditing, ComboCommitsTheFullChoiceOrEmptyWhenNothingMatchesAndEscapeKeepsEmpty)
    {
        list->SetItemText(0, kComboColumn, QStringLiteral("bR"));
        QComboBox* combo = OpenCombo(0);
        ASSERT_NE(combo, nullptr);
        QTest::keyClick(combo, Qt::Key_Return);
        EXPECT_EQ(list->GetItemText(0, kComboColumn), QStringLiteral("Bravo"));
        EXPECT_EQ(LastEndEdit().sourceId, kInPlaceComboId);
        FinishClose();

        list->SetItemText(1, kComboColumn, QStringLiteral("nothing like it"));
        combo = OpenCombo(1);
        ASSERT_NE(combo, nullptr);
        Click(CellCenter(3, 0));
        EXPECT_EQ(list->GetItemText(1, kComboColumn), QString());
        EXPECT_EQ(endEdits->count(), 2);
        FinishClose();

        // Escape keeps an empty cell empty, whatever was chosen meanwhile.
        list->SetItemText(2, kComboColumn, QString());
        combo = OpenCombo(2);
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Escape);
        EXPECT_EQ(list->GetItemText(2, kComboColumn), QString());
        EXPECT_EQ(LastEndEdit().text, QString());
    }

    TEST_F(ListEditing, OpenListIsAtMostTheDropHeightAndAChoiceCommitsAtOnce)
    {
        QStringList many;
        for (int i = 0; i < 60; ++i)
            many << QStringLiteral("choice %1").arg(i);
        list->GetCellInfo(3, kComboColumn).comboItems = many;
        QComboBox* combo = OpenCombo(3);
        ASSERT_NE(combo, nullptr);
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
        EXPECT_LE(view->window()->height(), 200);
        EXPECT_GT(view->window()->height(), 100);
        // Opening the list is part of the edit, not its end.
        EXPECT_EQ(endEdits->count(), 0);

        const QModelIndex choice = view->model()->index(2, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(choice).center());
        QTRY_COMPARE_WITH_TIMEOUT(endEdits->count(), 1, 2000);
        EXPECT_EQ(list->GetItemText(3, kComboColumn), QStringLiteral("choice 2"));
        // The offscreen platform may leave no window active after the popup; the
        // list is still the one its window gives the focus to.
        EXPECT_EQ(list->window()->focusWidget(), list.get());
    }

    TEST_F(ListEditing, DestroyingAListClosesTheEditors)
    {
        QPointer<QLineEdit> edit = OpenEdit(0, kEditColumn);
        ASSERT_TRUE(edit);
        list.reset();
        EXPECT_FALSE(edit);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Window(), nullptr);
        EXPECT_EQ(CInPlaceEdit::GetInstance()->Row(), -1);
    }

} // namespace
} // namespace ListCtrlEx::test
