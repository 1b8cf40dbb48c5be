// The dialog life cycle and its messages: OnInitDialog once after the
// controls, OnShowWindow on every show and hide, posted against sent
// messages, control notifications through the message map, the close request.
#include "CComboBox.h"
#include "CDialogBase.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

DialogTemplate PageTemplate()
{
    DialogTemplate t;
    t.id = 2000;
    t.size = QSize(316, 190);
    t.fontPointSize = 8;
    t.controls = {
        { 1010, ControlKind::Tab, QString(), QRect(0, 0, 150, 60), {} },
        { 1000, ControlKind::IpAddress, QString(), QRect(168, 12, 100, 15), {} },
        { 1002, ControlKind::DropDownList, QString(), QRect(47, 13, 71, 30), {} },
        { 1007, ControlKind::Button, QStringLiteral("Search"), QRect(270, 12, 40, 36), ControlFlag::Flat },
    };
    return t;
}

// Writes what the framework calls and which messages arrive into one log.
class RecordingDialog : public CDialogBase {
public:
    RecordingDialog()
        : CDialogBase(PageTemplate())
    {
        for (UINT message : { WM_APP + 1, WM_APP + 2, WM_APP + 3, WM_LANGUAGE_CHANGED }) {
            MapMessage(message, [this, message](WPARAM w, LPARAM l) -> LRESULT {
                Note("message " + std::to_string(message) + " " + std::to_string(static_cast<int>(w)) + " "
                    + std::to_string(l));
                return static_cast<LRESULT>(message) + 1;
            });
        }
        MapCommand(1007, BN_CLICKED, [this] { Note("clicked 1007"); });
        MapCommand(1002, CBN_SELCHANGE, [this] { Note("selchange 1002"); });
        MapNotify(1010, TCN_SELCHANGE, [this](NMHDR* header, LRESULT* result) {
            Note("tab selchange " + std::to_string(header->idFrom));
            *result = 0;
        });
        MapNotify(1000, IPN_FIELDCHANGED, [this](NMHDR* header, LRESULT*) {
            const auto* address = static_cast<NMIPADDRESS*>(header);
            Note("field " + std::to_string(address->iField) + " = " + std::to_string(address->iValue));
        });
    }
    void Note(const std::string& entry) { log.push_back(entry); }
    Log log;

protected:
    void DoDataExchange() override { Note("exchange"); }
    bool OnInitDialog() override
    {
        Note(GetDlgItem(1007) && GetDlgItem(1000) ? "init with controls" : "init without controls");
        return true;
    }
    void OnShowWindow(bool show) override { Note(show ? "shown" : "hidden"); }
};

} // namespace

TEST(DialogLifeCycle, PageInitialisesOnceReportsItsOwnVisibilityAndStaysOnClose)
{
    QWidget mainWindow;
    RecordingDialog page;
    ASSERT_TRUE(page.Create(&mainWindow));
    EXPECT_FALSE(page.Create(&mainWindow));
    EXPECT_TRUE(page.isHidden()); // pages start hidden

    page.ShowWindow(true); // called at once, even while the main window is not on screen
    page.ShowWindow(true); // no change, no call
    mainWindow.show(); // the parent's showing is not the page's own
    page.hide();
    page.show();
    page.ShowWindow(false);
    EXPECT_EQ(page.log, (Log { "exchange", "init with controls", "shown", "hidden", "shown", "hidden" }));

    page.ShowWindow(true);
    EXPECT_EQ(page.SendMessage(WM_CLOSE), 0); // a page stays: only a top-level dialog closes
    EXPECT_FALSE(page.isHidden());
}

TEST(DialogMessages, PostedArrivesAfterTheLoopTurnsSentBeforeReturn)
{
    EXPECT_EQ(WM_LANGUAGE_CHANGED, 5000u);
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.log.clear();

    EXPECT_TRUE(dialog.PostMessage(WM_LANGUAGE_CHANGED, static_cast<WPARAM>(-1), 0));
    EXPECT_TRUE(dialog.log.empty()); // queued only
    EXPECT_EQ(dialog.SendMessage(WM_APP + 2, 21, 22), static_cast<LRESULT>(WM_APP + 2) + 1);
    EXPECT_EQ(dialog.log.size(), 1u); // handled before the return
    EXPECT_TRUE(dialog.PostMessage(WM_APP + 3, 31, 32));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.log.size() == 3; }, 2000));
    // Posted ones in order; "no language" (-1) survives the trip.
    EXPECT_EQ(dialog.log,
        (Log { "message " + std::to_string(WM_APP + 2) + " 21 22", "message 5000 -1 0",
            "message " + std::to_string(WM_APP + 3) + " 31 32" }));

    // Unmapped: default processing, nothing recorded.
    EXPECT_EQ(dialog.SendMessage(WM_APP + 99, 1, 2), 0);
    EXPECT_EQ(dialog.SendMessage(WM_COMMAND, MakeWParam(4242, BN_CLICKED), 0), 0);
    EXPECT_EQ(dialog.SendMessage(WM_NOTIFY, 0, 0), 0);
    EXPECT_EQ(dialog.log.size(), 3u);
}

TEST(DialogNotifications, UserActionsReachTheMessageMapSynchronouslyAndCodeChangesDoNot)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(true);
    auto* combo = dialog.GetDlgItemAs<CComboBox>(1002);
    for (const char* name : { "English", "Traditional Chinese", "Simplified Chinese" })
        combo->AddString(QString::fromUtf8(name));
    combo->SetCurSel(0);
    auto* tab = dialog.GetDlgItemAs<CTabCtrl>(1010);
    tab->InsertItem(0, QStringLiteral("ORBEK Zeruru"));
    tab->InsertItem(1, QStringLiteral("Network Check"));
    tab->SetCurSel(0);
    dialog.log.clear();

    QTest::mouseClick(dialog.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->GetCurSel(), 1);
    // The main window delivers the same notification itself.
    dialog.SendMessage(WM_COMMAND, MakeWParam(1002, CBN_SELCHANGE), 0);
    QTest::mouseClick(tab->TabBar(), Qt::LeftButton, {}, tab->TabBar()->tabRect(1).center());
    QTest::keyClicks(dialog.GetDlgItemAs<CIPAddressCtrl>(1000)->Field(2), QStringLiteral("17"));
    EXPECT_EQ(dialog.log,
        (Log { "clicked 1007", "selchange 1002", "selchange 1002", "tab selchange 1010", "field 2 = 1",
            "field 2 = 17" }));
}

TEST(DialogClose, EveryWayToEndAModalDialogGivesItsResult)
{
    const std::pair<std::function<void(RecordingDialog&)>, int> cases[] = {
        { [](RecordingDialog& d) { d.close(); }, IDCANCEL }, // the window's close button
        { [](RecordingDialog& d) { d.SendMessage(WM_CLOSE); }, IDCANCEL },
        { [](RecordingDialog& d) { d.EndDialog(IDOK); }, IDOK },
    };
    for (const auto& [end, result] : cases) {
        RecordingDialog dialog;
        QTimer::singleShot(0, &dialog, [&] { end(dialog); });
        EXPECT_EQ(dialog.DoModal(), result);
        EXPECT_TRUE(dialog.isHidden());
        EXPECT_EQ(dialog.log.back(), "hidden");
    }
}
