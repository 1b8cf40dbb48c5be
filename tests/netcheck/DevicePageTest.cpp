#include "CComboBox.h"
#include "CDevicePage.h"
#include "DevicePageIds.h"
#include "NetServers.h"
#include "TempDir.h"
#include "TestLog.h"
#include "WarningColour.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quill::netcheck::test;
using namespace device_page;
using Rows = std::vector<std::string>;

// A page on a stand-in main window, with "Config.ini" in a fresh working
// directory, probing with short time-outs.
class DevicePageTest : public ::testing::Test {
protected:
    void ShowPage()
    {
        page = new CDevicePage(probes);
        page->Create(&main);
        main.show();
        page->ShowWindow(true);
    }
    QString Text(int id) const { return page->GetDlgItemText(id); }
    Rows Lan() const
    {
        return Texts({ kPort80Result, kPort30001Result, kPort30002Result, kPort30003Result });
    }
    Rows Cloud() const { return Texts({ kPort123Result, kPort5672Result, kPort443Result }); }
    Rows Texts(std::initializer_list<int> ids) const
    {
        Rows texts;
        for (const int id : ids)
            texts.push_back(Text(id).toStdString());
        return texts;
    }
    // Clicks a button and, unless told not to, waits until no run is in flight.
    void Click(int id, bool wait = true)
    {
        QTest::mouseClick(page->GetDlgItemAs<QPushButton>(id), Qt::LeftButton);
        const auto idle = [this] {
            return std::ranges::all_of(std::array { kCheckButton, kCloudTestButton, kNtpTestButton },
                [this](int button) { return page->GetDlgItem(button)->isEnabled(); });
        };
        EXPECT_TRUE(!wait || QTest::qWaitFor(idle, 10'000));
    }
    void Test(int editId, const char* host, bool wait = true)
    {
        page->SetDlgItemText(editId, QString::fromUtf8(host));
        Click(editId == kCloudHostEdit ? kCloudTestButton : kNtpTestButton, wait);
    }
    bool Enabled(int id) const { return page->GetDlgItem(id)->isEnabled(); }

    quill::test::LogCapture log; // before anything logs, so the log files stay out of `dir`
    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    CDialogBase main { DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} } };
    const bool created = main.Create(nullptr);
    DeviceProbes probes { .portTimeout = milliseconds(400),
        .httpsTimeout = milliseconds(400),
        .ntpTimeout = milliseconds(400),
        .settingsPath = dir.file("Config.ini").string() };
    CDevicePage* page = nullptr; // owned by main
};

// A refused port passes with a warning: " OK" in the warning colour, the
// warning first in its tooltip; a silent one fails.
TEST_F(DevicePageTest, CheckFillsThePortRowsWithTheirVerdictsInTheLanguageChosen)
{
    TcpListener accepting;
    BlockedPort blocked;
    quill::test::WriteWholeFile(dir.file("Config.ini"), "[RCS]\nIP=127.0.0.1\n");
    probes.lanPorts = { accepting.port(), ClosedPort(), ClosedPort(), blocked.port() };
    ShowPage();

    Click(kCheckButton);

    EXPECT_EQ(Lan(), (Rows { " OK", " OK", " OK", " Fail" }));
    const QWidget *connected = page->GetDlgItem(kPort80Result), *refused = page->GetDlgItem(kPort30001Result);
    EXPECT_EQ(refused->palette().color(QPalette::WindowText), WarningColour());
    EXPECT_NE(connected->palette().color(QPalette::WindowText), WarningColour());
    EXPECT_TRUE(refused->toolTip().startsWith("Nothing listens on this port"))
        << refused->toolTip().toStdString();
    EXPECT_TRUE(refused->toolTip().contains(
        "Tested 127.0.0.1:" + QString::number(probes.lanPorts[1]) + ", address 127.0.0.1"));
    EXPECT_EQ(
        log.linesWith("port:" + std::to_string(blocked.port()) + " connection was time out").size(), 1u);
    EXPECT_EQ(Cloud(), Rows(3, " N/A"));
    quill::test::WriteWholeFile(dir.file("Config.ini"), "[RCS]\nIP=\n"); // read afresh at every Check
    Click(kCheckButton);
    EXPECT_EQ(Lan(), Rows(4, " Fail"));
    EXPECT_EQ(log.linesWith("host \"\" cannot be resolved").size(), 4u);
    QTest::keyClick(page->m_languageCombo, Qt::Key_Down); // the choice re-renders stored results
    EXPECT_EQ(Lan(), Rows(4, " 失敗"));
    EXPECT_EQ(Text(kCheckButton), QStringLiteral("連線測試"));
    EXPECT_EQ(quill::test::ReadWholeFile(dir.file("Config.ini")), "[RCS]\nIP=\n[system]\nLANG=1\n");
}

// Blanks around a host are dropped; a host of 6 bytes or fewer is not probed
// ("127.01" would reach loopback), yet the cloud rows are shown again.
TEST_F(DevicePageTest, CloudAndNtpTestsFillTheirOwnRows)
{
    TcpListener silent;
    TlsServer tls;
    SntpServer time;
    probes.cloudPort = silent.port();
    probes.cloudTlsPort = tls.port();
    probes.ntpPort = time.port();
    ShowPage();
    for (const int id : { kPort123Result, kPort5672Result, kPort443Result })
        page->SetDlgItemText(id, QStringLiteral("mark"));

    Test(kCloudHostEdit, "");
    Test(kNtpHostEdit, "   ");
    EXPECT_EQ(Cloud(), Rows(3, "mark")) << "an empty field does nothing";
    Test(kCloudHostEdit, " 127.01\t");
    EXPECT_EQ(Cloud(), Rows(3, " N/A"));
    Test(kCloudHostEdit, "  127.0.1 ");
    EXPECT_EQ(Cloud(), (Rows { " N/A", " Fail", " OK" }));
    Test(kNtpHostEdit, "127.0.0.1");
    EXPECT_EQ(Cloud(), (Rows { " OK", " Fail", " OK" }));
    Test(kNtpHostEdit, "127.0.0.1;reboot");
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" Fail"));
    EXPECT_EQ(tls.connections + time.requests, 2);
    EXPECT_EQ(Lan(), Rows(4, " N/A"));
}

// The main window's language shows when it shows the page; a test
// redisplays the cloud rows, each from its stored result.
TEST_F(DevicePageTest, ResultsShowInTheLanguageStored)
{
    quill::test::WriteWholeFile(dir.file("Config.ini"), "[NetCheck]\nNtpHost=time.site.example\n");
    probes.ntpPort = SntpServer().port(); // gone: no answer
    ShowPage();
    EXPECT_EQ(
        Texts({ kCloudHostEdit, kNtpHostEdit }), (Rows { "cloud.tessory.example", "time.site.example" }));
    Click(kCheckButton); // no server entry: every port row fails
    page->m_language = -1; // no language: results are stored, not shown
    Test(kNtpHostEdit, "127.0.0.1");
    EXPECT_EQ(Text(kPort123Result), QStringLiteral(" N/A"));
    page->m_language = kSimplifiedChinese;
    page->ShowWindow(false);
    page->ShowWindow(true);
    EXPECT_EQ(Lan(), Rows(4, " 失败"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), kSimplifiedChinese);
    page->m_language = kEnglish;
    Test(kCloudHostEdit, "a.b.cd");
    EXPECT_EQ(Cloud(), (Rows { " Fail", " N/A", " N/A" }));
    EXPECT_EQ(Lan(), Rows(4, " 失败"));
}

// Four blocked ports fail together after one time-out while the window goes
// on working: a timer ticks, the other buttons stay usable.
TEST_F(DevicePageTest, CheckProbesItsFourPortsAtOnceOffTheWindowsThread)
{
    BlockedPort ports[4];
    quill::test::WriteWholeFile(dir.file("Config.ini"), "[RCS]\nIP=127.0.0.1\n");
    probes.lanPorts = { ports[0].port(), ports[1].port(), ports[2].port(), ports[3].port() };
    ShowPage();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);

    Click(kCheckButton, false);
    EXPECT_EQ(Lan(), Rows(4, "…"));
    EXPECT_EQ(std::tuple(Enabled(kCheckButton), Enabled(kCloudTestButton), Enabled(kNtpTestButton)),
        std::tuple(false, true, true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Lan() == Rows(4, " Fail"); }, 3 * 400))
        << "not one after another";
    EXPECT_GT(ticks, 5);
    EXPECT_TRUE(Enabled(kCheckButton));
    EXPECT_TRUE(page->GetDlgItem(kPort30003Result)->toolTip().startsWith("No answer within 400 ms\n"));
}

// Where this PC has no route to the server, every port fails and says why.
TEST_F(DevicePageTest, CheckWithoutARouteToTheServerFails)
{
    if (const std::string why = WhyNotPrivateNetwork(); !why.empty())
        GTEST_SKIP() << why;
    quill::test::WriteWholeFile(dir.file("Config.ini"), "[RCS]\nIP=198.51.100.7\n");
    ShowPage();
    Click(kCheckButton);
    EXPECT_EQ(Lan(), Rows(4, " Fail"));
    EXPECT_TRUE(page->GetDlgItem(kPort80Result)->toolTip().startsWith("No route"))
        << Text(kPort80Result).toStdString();
}

// The expired certificate passes, as any handshake does, but colours its field
// and leads its tooltip.
TEST_F(DevicePageTest, ResultArrivingAfterALanguageChangeShowsInTheNewLanguage)
{
    TcpListener silent;
    TlsServer expired { ServerContext("IP:127.0.0.1", -30, -2) };
    probes.cloudPort = silent.port();
    probes.cloudTlsPort = expired.port();
    ShowPage();
    Test(kCloudHostEdit, "127.0.0.1", false);
    QTest::keyClick(page->m_languageCombo, Qt::Key_Down);
    EXPECT_EQ(Text(kPort5672Result), QStringLiteral("…"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled(kCloudTestButton); }, 5000));

    EXPECT_EQ(Cloud(), (Rows { " N/A", " 失敗", " 成功" }));
    EXPECT_TRUE(page->GetDlgItem(kPort5672Result)->toolTip().startsWith("已連線，400 毫秒內無 TLS 回應\n"));
    const QWidget* warned = page->GetDlgItem(kPort443Result);
    EXPECT_TRUE(warned->toolTip().startsWith("憑證已於 ")) << warned->toolTip().toStdString();
    EXPECT_EQ(warned->palette().color(QPalette::WindowText), WarningColour());
    EXPECT_EQ(page->GetDlgItem(kPort5672Result)->palette().color(QPalette::WindowText),
        page->palette().color(QPalette::WindowText));
}

TEST_F(DevicePageTest, ClosingDuringARunEndsAtOnce)
{
    TcpListener silent;
    probes.cloudPort = probes.cloudTlsPort = silent.port();
    probes.httpsTimeout = std::chrono::seconds(4);
    ShowPage();
    Test(kCloudHostEdit, "127.0.0.1", false);

    const auto start = std::chrono::steady_clock::now();
    delete page;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    QCoreApplication::processEvents(); // outcomes already queued find no page
}
