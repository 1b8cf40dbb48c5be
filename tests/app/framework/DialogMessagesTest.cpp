// The dialog life cycle and its messages: OnInitDialog once after the
// controls, OnShowWindow on every show and hide, posted against sent
// messages, control notifications through the message map, the close request.
#include "CComboBox.h"
#include "CDialogBase.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr UINT kThird = WM_APP + 3;

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
        { 1032, ControlKind::Edit, QString(), QRect(102, 124, 120, 14), ControlFlag::Border },
    };
    return t;
}

// Records what the framework calls and which messages arrive.
class RecordingDialog : public CDialogBase {
public:
    explicit RecordingDialog(QWidget* parent = nullptr)
        : CDialogBase(PageTemplate(), parent)
    {
        for (UINT message : { kFirst, kSecond, kThird, WM_LANGUAGE_CHANGED }) {
            MapMessage(message, [this, message](WPARAM w, LPARAM l) -> LRESULT {
                received.push_back({ message, w, l });
                return static_cast<LRESULT>(message) + 1;
            });
        }
        MapCommand(1007, BN_CLICKED, [this] { commands.push_back({ 1007, BN_CLICKED }); });
        MapCommand(1002, CBN_SELCHANGE, [this] { commands.push_back({ 1002, CBN_SELCHANGE }); });
        MapNotify(1010, TCN_SELCHANGE, [this](NMHDR* header, LRESULT* result) {
            notifications.push_back({ header->idFrom, header->code, -1, -1 });
            *result = 0;
        });
        MapNotify(1000, IPN_FIELDCHANGED, [this](NMHDR* header, LRESULT*) {
            const auto* address = static_cast<NMIPADDRESS*>(header);
            notifications.push_back({ header->idFrom, header->code, address->iField, address->iValue });
        });
    }

    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    struct Command {
        int id;
        UINT code;
        bool operator==(const Command&) const = default;
    };
    struct Notification {
        int id;
        UINT code;
        int field;
        int value;
        bool operator==(const Notification&) const = default;
    };
    std::vector<Message> received;
    std::vector<Command> commands;
    std::vector<Notification> notifications;
    std::vector<bool> shows;
    int exchanges = 0;
    int initialisations = 0;
    bool controlsExistedAtInit = false;
    bool exchangeCameFirst = false;

    std::vector<UINT> ReceivedNumbers() const
    {
        std::vector<UINT> numbers;
        for (const Message& m : received)
            numbers.push_back(m.message);
        return numbers;
    }

protected:
    void DoDataExchange() override { ++exchanges; }
    bool OnInitDialog() override
    {
        ++initialisations;
        exchangeCameFirst = exchanges == 1;
        controlsExistedAtInit = GetDlgItem(1007) != nullptr && GetDlgItem(1000) != nullptr;
        return true;
    }
    void OnShowWindow(bool show) override { shows.push_back(show); }
};

} // namespace

TEST(DialogLifeCycle, InitialisesOnceAfterControlsAndDataExchange)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.initialisations, 1);
    EXPECT_EQ(dialog.exchanges, 1);
    EXPECT_TRUE(dialog.exchangeCameFirst);
    EXPECT_TRUE(dialog.controlsExistedAtInit);
}

TEST(DialogLifeCycle, ShowHookFollowsThePagesOwnVisibility)
{
    QWidget mainWindow;
    RecordingDialog page;
    ASSERT_TRUE(page.Create(&mainWindow));
    EXPECT_EQ(page.parentWidget(), &mainWindow);
    EXPECT_TRUE(page.isHidden()); // pages start hidden
    EXPECT_TRUE(page.shows.empty());

    // Called at once, even while the main window itself is not on screen yet.
    page.ShowWindow(true);
    EXPECT_EQ(page.shows, std::vector<bool>({ true }));
    page.ShowWindow(true); // no change, no call
    EXPECT_EQ(page.shows.size(), 1u);

    mainWindow.show(); // the parent's showing is not the page's own
    EXPECT_EQ(page.shows.size(), 1u);

    page.hide();
    page.show();
    page.ShowWindow(false);
    EXPECT_EQ(page.shows, std::vector<bool>({ true, false, true, false }));
}

TEST(DialogMessages, PostedArrivesAfterTheLoopTurnsSentBeforeReturn)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));

    EXPECT_TRUE(dialog.PostMessage(kFirst, 11, 12));
    EXPECT_TRUE(dialog.ReceivedNumbers().empty()); // queued only

    EXPECT_EQ(dialog.SendMessage(kSecond, 21, 22), static_cast<LRESULT>(kSecond) + 1);
    EXPECT_EQ(dialog.ReceivedNumbers(), std::vector<UINT>({ kSecond })); // handled before the return

    EXPECT_TRUE(dialog.PostMessage(kThird, 31, 32));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.received.size() == 3; }, 2000));
    EXPECT_EQ(
        dialog.ReceivedNumbers(), std::vector<UINT>({ kSecond, kFirst, kThird })); // posted ones in order
    EXPECT_EQ(dialog.received[1].wParam, 11u);
    EXPECT_EQ(dialog.received[1].lParam, 12);
}

TEST(DialogMessages, LanguageChangedIsMessage5000WithItsParameters)
{
    EXPECT_EQ(WM_LANGUAGE_CHANGED, 5000u);
    QWidget* noParent = nullptr;
    RecordingDialog mainWindow(noParent);
    ASSERT_TRUE(mainWindow.Create(nullptr));
    RecordingDialog page;
    ASSERT_TRUE(page.Create(&mainWindow));
    ASSERT_EQ(page.GetParentDialog(), &mainWindow);

    page.GetParentDialog()->PostMessage(WM_LANGUAGE_CHANGED, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(mainWindow.received.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !mainWindow.received.empty(); }, 2000));
    EXPECT_EQ(mainWindow.received[0].message, WM_LANGUAGE_CHANGED);
    EXPECT_EQ(static_cast<int>(mainWindow.received[0].wParam), -1); // "no language" survives the trip
    EXPECT_EQ(mainWindow.received[0].lParam, 0);
}

TEST(DialogMessages, UnmappedMessagesGetDefaultProcessing)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.SendMessage(WM_APP + 99, 1, 2), 0);
    EXPECT_EQ(dialog.SendMessage(WM_COMMAND, MakeWParam(4242, BN_CLICKED), 0), 0);
    EXPECT_EQ(dialog.SendMessage(WM_NOTIFY, 0, 0), 0); // no record: ignored
    EXPECT_TRUE(dialog.commands.empty());
}

TEST(DialogNotifications, ButtonClickIsASynchronousCommand)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(true);
    QTest::mouseClick(dialog.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    EXPECT_EQ(dialog.commands, (std::vector<RecordingDialog::Command> { { 1007, BN_CLICKED } }));
}

TEST(DialogNotifications, SelectionChangeOnlyFromTheUser)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    auto* combo = dialog.GetDlgItemAs<CComboBox>(1002);
    for (const char* name : { "English", "Traditional Chinese", "Simplified Chinese" })
        combo->AddString(QString::fromUtf8(name));
    combo->SetCurSel(0);
    EXPECT_TRUE(dialog.commands.empty()); // setting the selection in code notifies nothing

    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(dialog.commands, (std::vector<RecordingDialog::Command> { { 1002, CBN_SELCHANGE } }));

    // The main window delivers the same notification itself, synchronously.
    dialog.SendMessage(WM_COMMAND, MakeWParam(1002, CBN_SELCHANGE), 0);
    EXPECT_EQ(dialog.commands.size(), 2u);
}

TEST(DialogNotifications, TabAndAddressNotificationsCarryTheirRecords)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(true);
    auto* tab = dialog.GetDlgItemAs<CTabCtrl>(1010);
    tab->InsertItem(0, QStringLiteral("ORBEK Zeruru"));
    tab->InsertItem(1, QStringLiteral("Network Check"));
    tab->SetCurSel(0);
    EXPECT_TRUE(dialog.notifications.empty());

    QTest::mouseClick(tab->TabBar(), Qt::LeftButton, {}, tab->TabBar()->tabRect(1).center());
    ASSERT_EQ(tab->GetCurSel(), 1);
    ASSERT_EQ(dialog.notifications.size(), 1u);
    EXPECT_EQ(dialog.notifications[0], (RecordingDialog::Notification { 1010, TCN_SELCHANGE, -1, -1 }));

    auto* address = dialog.GetDlgItemAs<CIPAddressCtrl>(1000);
    QTest::keyClicks(address->Field(2), QStringLiteral("17"));
    ASSERT_EQ(dialog.notifications.size(), 3u);
    EXPECT_EQ(dialog.notifications[1], (RecordingDialog::Notification { 1000, IPN_FIELDCHANGED, 2, 1 }));
    EXPECT_EQ(dialog.notifications[2], (RecordingDialog::Notification { 1000, IPN_FIELDCHANGED, 2, 17 }));
}

TEST(DialogClose, CloseRequestEndsAModalDialog)
{
    RecordingDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); }); // the window's close button
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(dialog.shows, std::vector<bool>({ true, false }));
}

TEST(DialogClose, EndDialogGivesItsResult)
{
    RecordingDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.EndDialog(IDOK); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(DialogClose, SentCloseRequestFromTheUiThreadEndsTheDialog)
{
    RecordingDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.SendMessage(WM_CLOSE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(DialogClose, ChildPageStaysAfterACloseRequest)
{
    QWidget mainWindow;
    RecordingDialog page;
    ASSERT_TRUE(page.Create(&mainWindow));
    page.ShowWindow(true);
    EXPECT_EQ(page.SendMessage(WM_CLOSE), 0);
    EXPECT_FALSE(page.isHidden());
    EXPECT_EQ(page.shows, std::vector<bool>({ true }));
}

namespace {

// A dialog that keeps itself open on the close request until asked twice.
class StubbornDialog : public CDialogBase {
public:
    StubbornDialog()
        : CDialogBase(PageTemplate())
    {
        MapMessage(WM_CLOSE, [this](WPARAM w, LPARAM l) -> LRESULT {
            ++closeRequests;
            return closeRequests < 2 ? 0 : DefWindowProc(WM_CLOSE, w, l);
        });
    }
    int closeRequests = 0;
};

} // namespace

TEST(DialogClose, MappedCloseHandlerReplacesTheDefault)
{
    StubbornDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        dialog.close();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.closeRequests, 2);
}
