#include "CComboBox.h"
#include "CDevicePage.h"
#include "DevicePageIds.h"
#include "LoopbackTcp.h"
#include "SntpServer.h"
#include "TempDir.h"
#include "TestLog.h"
#include "TlsServer.h"

#include <QCursor>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <span>

using namespace quill::netcheck::test;
using namespace device_page;
using Rows = std::vector<std::string>;

namespace {

constexpr std::array<int, 4> kPortRows { kPort80Result, kPort30001Result, kPort30002Result,
    kPort30003Result };
constexpr std::array<int, 3> kCloudRows { kPort123Result, kPort5672Result, kPort443Result };

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

// Probes that fail quickly, yet give a loopback server time to answer under
// the sanitizers; every port stays the product's until a test sets its own.
DeviceProbes QuickProbes()
{
    constexpr std::chrono::milliseconds kTimeout { 400 };
    DeviceProbes probes;
    probes.portTimeout = probes.httpsTimeout = probes.ntpTimeout = kTimeout;
    return probes;
}

// The main window's side of the page: the parent that hears WM_LANGUAGE_CHANGED.
class TestMainWindow : public CDialogBase {
public:
    TestMainWindow()
        : CDialogBase(DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} })
    {
        MapMessage(WM_LANGUAGE_CHANGED, [this](WPARAM language, LPARAM) {
            announced.push_back(static_cast<LanguageId>(language));
            return LRESULT(0);
        });
    }
    std::vector<LanguageId> announced;
};

// A page on a stand-in main window, with "Config.ini" in a fresh working directory.
class DevicePageTest : public ::testing::Test {
protected:
    void SetUp() override { main.Create(nullptr); }

    void WriteSettings(const std::string& content)
    {
        quill::test::WriteWholeFile(dir.file("Config.ini"), content);
    }
    std::string SettingsText() const { return quill::test::ReadWholeFile(dir.file("Config.ini")); }

    // Creates and shows the page, as the main window does when tab 1 is chosen.
    void ShowPage(DeviceProbes probes = QuickProbes())
    {
        page = new CDevicePage(probes);
        page->Create(&main);
        main.show();
        page->ShowWindow(true);
    }

    QString Text(int id) const { return page->GetDlgItemText(id); }
    // The texts of several controls, as UTF-8 so that a failure prints them.
    std::vector<std::string> Texts(std::span<const int> ids) const
    {
        std::vector<std::string> texts;
        for (const int id : ids)
            texts.push_back(Text(id).toStdString());
        return texts;
    }
    void Click(int buttonId) { QTest::mouseClick(page->GetDlgItemAs<QPushButton>(buttonId), Qt::LeftButton); }
    // Types a host into a field and presses the TEST button beside it.
    void TestCloud(const QString& host)
    {
        page->SetDlgItemText(kCloudHostEdit, host);
        Click(kCloudTestButton);
    }
    void TestNtp(const QString& host)
    {
        page->SetDlgItemText(kNtpHostEdit, host);
        Click(kNtpTestButton);
    }

    // Picks a language on the page's selector with the keyboard, as a user would.
    void ChooseLanguage(LanguageId language)
    {
        CComboBox& combo = *page->m_languageCombo;
        for (int step = 0; step < 3 && combo.GetCurSel() != language; ++step)
            QTest::keyClick(&combo, combo.GetCurSel() < language ? Qt::Key_Down : Qt::Key_Up);
    }

    // Set up before anything logs, so the log files stay out of `dir`.
    quill::test::LogCapture log;
    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    TestMainWindow main;
    CDevicePage* page = nullptr; // owned by main
};

} // namespace

TEST_F(DevicePageTest, FreshPageShowsNotTestedInEveryRowAndHidesOnlyThePort5673Row)
{
    ShowPage();

    EXPECT_EQ(Texts(kPortRows), Rows(4, " N/A"));
    EXPECT_EQ(Texts(kCloudRows), Rows(3, " N/A"));
    for (const ControlTemplate& control : page->Template().controls) {
        const bool hidden = control.id == kPort5673Label || control.id == kPort5673Result;
        EXPECT_EQ(page->GetDlgItem(control.id)->isHidden(), hidden) << control.id;
    }
    EXPECT_EQ(page->size(), page->MapDialogRect(QRect(0, 0, 316, 190)).size());
    EXPECT_EQ(Text(kIpText), QStringLiteral("N/A"));
}

// Accepted and refused connections both mean the port gets through.
TEST_F(DevicePageTest, CheckFillsTheFourPortRowsOnlyATimeOutFails)
{
    TcpListener accepting;
    ClosedPort refusingA;
    ClosedPort refusingB;
    BlockedPort blocked;
    WriteSettings("[RCS]\nIP=127.0.0.1\n");
    DeviceProbes probes = QuickProbes();
    probes.lanPorts = { accepting.port(), refusingA.port(), refusingB.port(), blocked.port() };
    ShowPage(probes);

    const CursorDuringCheck cursor;
    Click(kCheckButton);

    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(accepting.HasPendingConnection());
    EXPECT_EQ(Texts(kPortRows), (Rows { " OK", " OK", " OK", " Fail" }));
    EXPECT_NE(log.text().find("port:" + std::to_string(blocked.port()) + " connection was time out"),
        std::string::npos)
        << log.text();
    EXPECT_EQ(Texts(kCloudRows), Rows(3, " N/A"));
}

TEST_F(DevicePageTest, CloudHostIsProbedOnlyWhenLongerThanSixBytesAfterTrimming)
{
    // "127.0.1" and "127.01" are both loopback in the resolver's short forms,
    // so a probe that should not run would reach the servers. The blanks would
    // make either host too long, or unusable, if they were kept.
    AcceptingServer silent("");
    TlsServer tls;
    DeviceProbes probes = QuickProbes();
    probes.cloudPort = silent.port();
    probes.cloudTlsPort = tls.port();
    ShowPage(probes);

    TestCloud(QStringLiteral(" 127.01\t"));
    EXPECT_EQ(Texts(kCloudRows), Rows(3, " N/A"));

    const CursorDuringCheck cursor;
    TestCloud(QStringLiteral("  127.0.1 "));
    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    // 5672: the handshake with the silent server timed out.
    EXPECT_EQ(Texts(kCloudRows), (Rows { " N/A", " Fail", " OK" }));
    EXPECT_TRUE(WaitFor([&] { return tls.handshakes() == 1; }));
    EXPECT_EQ(silent.accepted(), 1);
    EXPECT_EQ(Texts(kPortRows), Rows(4, " N/A"));
}

TEST_F(DevicePageTest, EmptyHostFieldsLeaveTheTestButtonsDoingNothing)
{
    ShowPage();
    // Marks that any redisplay of the rows would overwrite.
    for (const int id : kCloudRows)
        page->SetDlgItemText(id, QStringLiteral("untouched"));

    TestCloud({});
    TestNtp(QStringLiteral("   "));

    EXPECT_EQ(Texts(kCloudRows), Rows(3, "untouched"));
}

TEST_F(DevicePageTest, NtpResultShowsInThePort123Row)
{
    SntpServer server(AnswerValid);
    // Hears of any TCP connection the page might make instead.
    TcpListener tcpOnSamePort(16, "127.0.0.1", server.port());
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = server.port();
    ShowPage(probes);

    const CursorDuringCheck cursor;
    TestNtp(QStringLiteral("127.0.0.1"));

    EXPECT_EQ(cursor.shape(), Qt::WaitCursor);
    EXPECT_EQ(Texts(kCloudRows), (Rows { " OK", " N/A", " N/A" }));
    EXPECT_EQ(server.requests(), 1);
    EXPECT_FALSE(tcpOnSamePort.HasPendingConnection(std::chrono::milliseconds(0)));

    // Shell characters never reach a resolver or a socket.
    TestNtp(QStringLiteral("127.0.0.1;reboot"));
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" Fail"));
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(DevicePageTest, LanguageSwitchReRendersStoredResults)
{
    SntpServer server(AnswerValid);
    WriteSettings("[NetCheck]\nNtpHost=time.site.example\n"); // a site preset, only ever read
    DeviceProbes probes = QuickProbes();
    probes.ntpPort = server.port();
    ShowPage(probes);
    page->SetDlgItemText(kIpText, QStringLiteral("192.0.2.7"));
    Click(kCheckButton); // no server entry: every port row fails
    TestNtp(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Text(kIpText), QStringLiteral("192.0.2.7")) << "a check never touches the LAN fields";
    QApplication::processEvents();
    main.announced.clear();

    ChooseLanguage(kTraditionalChinese);

    EXPECT_EQ(Texts(kPortRows), Rows(4, " 失敗"));
    EXPECT_EQ(Texts(kCloudRows), (Rows { " 成功", " N/A", " N/A" }));
    EXPECT_EQ(Text(kCheckButton), QStringLiteral("連線測試"));
    EXPECT_EQ(Text(CLanguagePage::kLanguageLabelId), QStringLiteral("語言:"));
    // The labels of the values and rows stay as the template has them.
    EXPECT_EQ(Text(kPort30001Label), QStringLiteral("Port 30001 :"));
    // The language is the one setting the page writes; typed hosts are not kept.
    const std::string settings = SettingsText();
    EXPECT_NE(settings.find("LANG=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("NtpHost=time.site.example"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("CloudHost"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("127.0.0.1"), std::string::npos) << settings;
    QApplication::processEvents();
    EXPECT_EQ(main.announced, std::vector<LanguageId> { kTraditionalChinese });

    ChooseLanguage(kSimplifiedChinese);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" 失败"));
    EXPECT_EQ(Text(kLanConnectionGroup), QStringLiteral("局内网路连网状态 :"));
}

// The main window stores the language, then hides and shows the page.
TEST_F(DevicePageTest, ShowingThePageAppliesTheLanguageTheMainWindowStored)
{
    ShowPage();
    page->m_language = -1; // no language yet: results are stored, not shown
    Click(kCheckButton);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" N/A"));

    page->m_language = kTraditionalChinese;
    page->ShowWindow(false);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" N/A")) << "hiding re-applies nothing";
    page->ShowWindow(true);
    EXPECT_EQ(Text(kPort80Result), QStringLiteral(" 失敗"));
    EXPECT_EQ(Text(kLanConnectionGroup), QStringLiteral("區域網路連接狀態 :"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), kTraditionalChinese);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")))
        << "the stored language is not written again";
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
    TestCloud(QStringLiteral("127.0.0.1")); // cloud rows " Fail" in English

    // The main window changes the language without the page being shown again.
    page->m_language = kTraditionalChinese;
    TestNtp(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Texts(kCloudRows), Rows(3, " 失敗"));
    EXPECT_EQ(Texts(kPortRows), Rows(4, " Fail"));

    page->m_language = kSimplifiedChinese;
    // Too short: nothing is probed, yet the rows are shown again and keep their results.
    TestCloud(QStringLiteral("a.b.cd"));
    EXPECT_EQ(Texts(kCloudRows), Rows(3, " 失败"));
    EXPECT_EQ(Texts(kPortRows), Rows(4, " Fail"));
    EXPECT_EQ(Text(kCheckButton), QStringLiteral("Check"));
    EXPECT_EQ(silentTime.requests(), 1);
    EXPECT_EQ(silentCloud.accepted(), 2);
}

TEST_F(DevicePageTest, HostFieldsStartWithTheSitePresetsOrTheDefaults)
{
    const QString cloudDefault = QStringLiteral("cloud.tessory.example");
    const QString ntpDefault = QStringLiteral("pool.ntp.org");
    const struct {
        const char* settings; // empty: no settings file
        QString cloudHost;
        QString ntpHost;
    } cases[] = {
        { "", cloudDefault, ntpDefault },
        { "[system]\nLANG=0\n[RCS]\nIP=192.0.2.1\n", cloudDefault, ntpDefault },
        { "[NetCheck]\nCloudHost=portal.site.example\nNtpHost=time.site.example\n",
            QStringLiteral("portal.site.example"), QStringLiteral("time.site.example") },
        { "[netcheck]\r\n ntphost = 192.0.2.123 \r\n", cloudDefault, QStringLiteral("192.0.2.123") },
        { "[NetCheck]\nCloudHost=\nNtpHost=  \n", cloudDefault, ntpDefault },
        { "[NetCheck]\nCloudHost=\xE9\x9B\xB2.example\nNtpHost=ntp\xFF.example\n",
            QStringLiteral("雲.example"), QStringLiteral("ntp.example") },
    };
    for (const auto& preset : cases) {
        SCOPED_TRACE(preset.settings);
        std::filesystem::remove(dir.file("Config.ini"));
        if (*preset.settings)
            WriteSettings(preset.settings);

        const auto fresh = std::make_unique<CDevicePage>(QuickProbes());
        fresh->Create(&main);

        EXPECT_EQ(fresh->GetDlgItemText(kCloudHostEdit), preset.cloudHost);
        EXPECT_EQ(fresh->GetDlgItemText(kNtpHostEdit), preset.ntpHost);
    }
}
