#include "DevicePageTestSupport.h"
#include "LoopbackTcp.h"
#include "SntpServer.h"
#include "TlsServer.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>

#include <array>
#include <optional>

using namespace quill::netcheck::test;
using namespace device_page;

namespace {

constexpr std::array<int, 4> kPortRows { kPort80Result, kPort30001Result, kPort30002Result,
    kPort30003Result };
constexpr std::array<int, 3> kCloudRows { kPort123Result, kPort5672Result, kPort443Result };

std::vector<Datagram> AnswerValid(const Datagram& request)
{
    return { ValidReply(request) };
}

std::vector<Datagram> StaySilent(const Datagram&)
{
    return {};
}

// The override cursor seen from inside the next check, or nothing when the
// check let no event through.
class CursorDuringCheck {
public:
    CursorDuringCheck()
    {
        QTimer::singleShot(0, [this] {
            if (const QCursor* cursor = QApplication::overrideCursor())
                m_shape = cursor->shape();
        });
    }
    std::optional<Qt::CursorShape> shape() const { return m_shape; }

private:
    std::optional<Qt::CursorShape> m_shape;
};

} // namespace

TEST_F(DevicePageTest, FreshPageShowsNotTestedInEveryRowAndTheTemplateTexts)
{
    ShowPage();

    for (const int id : kPortRows)
        EXPECT_EQ(Text(id), QStringLiteral(" N/A")) << id;
    for (const int id : kCloudRows)
        EXPECT_EQ(Text(id), QStringLiteral(" N/A")) << id;
    for (std::size_t slot = 0; slot < CDevicePage::kResultCount; ++slot)
        EXPECT_EQ(page->Result(slot), kNotTested) << slot;

    // Only the row of port 5673 is never shown.
    for (const ControlTemplate& control : page->Template().controls) {
        const bool hidden = control.id == kPort5673Label || control.id == kPort5673Result;
        EXPECT_EQ(page->GetDlgItem(control.id)->isHidden(), hidden) << control.id;
    }
    EXPECT_EQ(page->Template().controls.size(), 36u);
    EXPECT_EQ(page->size(), page->MapDialogRect(QRect(0, 0, 316, 190)).size());

    EXPECT_EQ(Text(kIpText), QStringLiteral("N/A"));
    EXPECT_EQ(Text(kLanConnectionGroup), QStringLiteral("Lan Connection :"));
    EXPECT_EQ(Text(kCloudHostLabel), QStringLiteral("Tessory+ Server https://"));
    EXPECT_EQ(page->m_languageCombo->GetCount(), 3);
    EXPECT_EQ(page->m_language, kEnglish);
    EXPECT_EQ(page->m_ipText, page->GetDlgItem(kIpText));
    EXPECT_EQ(page->m_dnsText, page->GetDlgItem(kDnsText));
    EXPECT_EQ(page->m_cloudHostEdit, page->GetDlgItem(kCloudHostEdit));
    EXPECT_EQ(page->m_ntpHostEdit, page->GetDlgItem(kNtpHostEdit));
}

TEST_F(DevicePageTest, CheckFillsTheFourPortRowsOnlyATimeOutFails)
{
    // Accepted and refused connections both mean the port gets through.
    TcpListener accepting;
    ClosedPort refusingA;
    ClosedPort refusingB;
    BlockedPort blocked;
    WriteSettings("[RCS]\nIP=127.0.0.1\n");
    DeviceProbes probes = QuickProbes();
    probes.lanPorts = { accepting.port(), refusingA.port(), refusingB.port(), blocked.port() };
    ShowPage(probes);
    QSignalSpy clicked(page->GetDlgItemAs<QPushButton>(kCheckButton), &QAbstractButton::clicked);

    const CursorDuringCheck cursor;
    Click(kCheckButton);

    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(accepting.HasPendingConnection());
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" OK"));
    EXPECT_EQ(Text(kPort30001Result), QStringLiteral(" OK"));
    EXPECT_EQ(Text(kPort30002Result), QStringLiteral(" OK"));
    EXPECT_EQ(Text(kPort30003Result), QStringLiteral(" Fail"));
    EXPECT_NE(log.text().find("port:" + std::to_string(blocked.port()) + " connection was time out"),
        std::string::npos)
        << log.text();
    for (const int id : kCloudRows)
        EXPECT_EQ(Text(id), QStringLiteral(" N/A")) << id;
}

TEST_F(DevicePageTest, CheckWithoutAServerEntryFailsEveryRowAndNeverTouchesTheLanFields)
{
    ShowPage();
    page->SetDlgItemText(kIpText, QStringLiteral("192.0.2.7"));

    Click(kCheckButton);

    for (const int id : kPortRows)
        EXPECT_EQ(Text(id), QStringLiteral(" Fail")) << id;
    EXPECT_EQ(Text(kIpText), QStringLiteral("192.0.2.7"));
    EXPECT_EQ(Text(kMaskText), QStringLiteral("N/A"));
}

TEST_F(DevicePageTest, CloudHostIsProbedOnlyWhenLongerThanSixBytes)
{
    // "127.0.1" and "127.01" are both loopback in the resolver's short forms,
    // so a probe that should not run would reach the servers.
    AcceptingServer silent("");
    TlsServer tls;
    DeviceProbes probes = QuickProbes();
    probes.cloudPort = silent.port();
    probes.cloudTlsPort = tls.port();
    ShowPage(probes);

    TypeCloudHost(QStringLiteral("127.01"));
    Click(kCloudTestButton);
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" N/A"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" N/A"));

    TypeCloudHost(QStringLiteral("127.0.1"));
    const CursorDuringCheck cursor;
    Click(kCloudTestButton);
    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" Fail")); // the handshake timed out
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" OK"));
    EXPECT_TRUE(WaitFor([&] { return tls.handshakes() == 1; }));
    EXPECT_EQ(silent.accepted(), 1);

    // Short again: the rows keep their results and no server hears of it.
    TypeCloudHost(QStringLiteral("127.01"));
    Click(kCloudTestButton);
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" Fail"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" OK"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(tls.handshakes(), 1);
    EXPECT_EQ(silent.accepted(), 1);
    for (const int id : kPortRows)
        EXPECT_EQ(Text(id), QStringLiteral(" N/A")) << id;
}

TEST_F(DevicePageTest, BlanksAroundATypedHostAreNotPartOfIt)
{
    TlsServer tls;
    DeviceProbes probes = QuickProbes();
    probes.cloudPort = tls.port();
    probes.cloudTlsPort = tls.port();
    ShowPage(probes);

    TypeCloudHost(QStringLiteral("  127.0.0.1 \t"));
    Click(kCloudTestButton);

    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" OK"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" OK"));
    EXPECT_TRUE(WaitFor([&] { return tls.handshakes() == 2; }));
}

TEST_F(DevicePageTest, EmptyHostFieldsLeaveTheTestButtonsDoingNothing)
{
    ShowPage();
    // Marks that any redisplay of the rows would overwrite.
    for (const int id : kCloudRows)
        page->SetDlgItemText(id, QStringLiteral("untouched"));

    TypeCloudHost({});
    Click(kCloudTestButton);
    TypeNtpHost(QStringLiteral("   "));
    Click(kNtpTestButton);

    for (const int id : kCloudRows)
        EXPECT_EQ(Text(id), QStringLiteral("untouched")) << id;
}

TEST_F(DevicePageTest, NtpResultShowsInThePort123Row)
{
    SntpServer server(AnswerValid);
    // A TCP listener on the same port number hears of any TCP connection the
    // page might make instead.
    TcpListener tcpOnSamePort(16, "127.0.0.1", server.port());
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = server.port();
    ShowPage(probes);

    TypeNtpHost(QStringLiteral("127.0.0.1"));
    const CursorDuringCheck cursor;
    Click(kNtpTestButton);

    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" OK"));
    EXPECT_EQ(page->Result(CDevicePage::kNtpSlot), kPassed);
    EXPECT_EQ(server.requests(), 1);
    EXPECT_FALSE(tcpOnSamePort.HasPendingConnection(std::chrono::milliseconds(0)));
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" N/A"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" N/A"));
}

TEST_F(DevicePageTest, SilentOrRefusedTimeServerFailsThePort123Row)
{
    SntpServer silent(StaySilent);
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = silent.port();
    ShowPage(probes);

    TypeNtpHost(QStringLiteral("127.0.0.1"));
    Click(kNtpTestButton);
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" Fail"));
    EXPECT_EQ(silent.requests(), 1);

    // Shell characters never reach a resolver or a socket.
    TypeNtpHost(QStringLiteral("127.0.0.1;reboot"));
    Click(kNtpTestButton);
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" Fail"));
    EXPECT_EQ(silent.requests(), 1);
}

TEST_F(DevicePageTest, LanguageSwitchReRendersStoredResults)
{
    SntpServer server(AnswerValid);
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = server.port();
    ShowPage(probes);
    Click(kCheckButton); // no server entry: every port row fails
    TypeNtpHost(QStringLiteral("127.0.0.1"));
    Click(kNtpTestButton);
    QApplication::processEvents();
    main.announced.clear();
    QSignalSpy activated(page->m_languageCombo, &QComboBox::activated);

    ChooseLanguage(kTraditionalChinese);

    EXPECT_EQ(activated.count(), 1);
    EXPECT_EQ(page->m_language, kTraditionalChinese);
    for (const int id : kPortRows)
        EXPECT_EQ(Text(id), QStringLiteral(" 失敗")) << id;
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" 成功"));
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" N/A"));
    EXPECT_EQ(Text(kCheckButton), QStringLiteral("連線測試"));
    EXPECT_EQ(Text(kCloudTestButton), QStringLiteral("測試"));
    EXPECT_EQ(Text(kNtpTestButton), QStringLiteral("測試"));
    EXPECT_EQ(Text(kLanInformationGroup), QStringLiteral("區域網路資訊 :"));
    EXPECT_EQ(Text(kNtpHostLabel), QStringLiteral("NTP伺服器 http://"));
    EXPECT_EQ(Text(CLanguagePage::kLanguageLabelId), QStringLiteral("語言:"));
    EXPECT_EQ(page->m_languageCombo->GetLBText(2), QStringLiteral("簡體中文"));
    // The labels of the values and rows stay as the template has them.
    EXPECT_EQ(Text(kPort30001Label), QStringLiteral("Port 30001 :"));
    EXPECT_EQ(Text(kGatewayLabel), QStringLiteral("Default Gateway :"));
    EXPECT_NE(SettingsText().find("LANG=1"), std::string::npos);
    QApplication::processEvents();
    EXPECT_EQ(main.announced, std::vector<LanguageId> { kTraditionalChinese });

    ChooseLanguage(kSimplifiedChinese);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" 失败"));
    EXPECT_EQ(Text(kLanConnectionGroup), QStringLiteral("局内网路连网状态 :"));
}

TEST_F(DevicePageTest, ShowingThePageAppliesTheLanguageTheMainWindowStored)
{
    ShowPage();
    Click(kCheckButton);

    // The main window stores the language, then hides and shows the page.
    page->m_language = kTraditionalChinese;
    page->ShowWindow(false);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" Fail")) << "hiding re-applies nothing";
    page->ShowWindow(true);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" 失敗"));
    EXPECT_EQ(Text(kLanConnectionGroup), QStringLiteral("區域網路連接狀態 :"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), kTraditionalChinese);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")))
        << "the stored language is not written again";
}

TEST_F(DevicePageTest, ResultsAreStoredButNotShownWhileTheLanguageIsNone)
{
    ShowPage();
    page->m_language = -1;

    Click(kCheckButton);

    EXPECT_EQ(page->Result(0), kFailed);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" N/A"));

    page->m_language = kSimplifiedChinese;
    page->ShowWindow(false);
    page->ShowWindow(true);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" 失败"));
}

TEST_F(DevicePageTest, EachTestRedisplaysTheOtherCloudRowsButNotThePortRows)
{
    SntpServer silentTime(StaySilent);
    AcceptingServer silentCloud("");
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = silentTime.port();
    probes.cloudPort = silentCloud.port();
    probes.cloudTlsPort = silentCloud.port();
    ShowPage(probes);
    Click(kCheckButton); // port rows " Fail" in English
    TypeCloudHost(QStringLiteral("127.0.0.1"));
    Click(kCloudTestButton); // cloud rows " Fail" in English

    // The main window changes the language without the page being shown again.
    page->m_language = kTraditionalChinese;
    TypeNtpHost(QStringLiteral("127.0.0.1"));
    Click(kNtpTestButton);
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" 失敗"));
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" 失敗"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" 失敗"));
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" Fail"));

    page->m_language = kSimplifiedChinese;
    TypeCloudHost(QStringLiteral("a.b.cd")); // too short: nothing is probed
    Click(kCloudTestButton);
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" 失败"));
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral(" 失败"));
    EXPECT_EQ(Text(kPort443Result), QStringLiteral(" 失败"));
    EXPECT_EQ(Text(kPort30003Result), QStringLiteral(" Fail"));
    EXPECT_EQ(Text(kCheckButton), QStringLiteral("Check"));
    EXPECT_EQ(silentTime.requests(), 1);
    EXPECT_EQ(silentCloud.accepted(), 2);
}
