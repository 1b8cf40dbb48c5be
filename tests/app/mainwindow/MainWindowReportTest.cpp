// "Save site report…" in the result list's menu: the rows on screen and the
// check page's checks, to the hosts in its fields, saved as one HTML page.
#include "MainWindowFixture.h"

#include <QMenu>

#include <boost/asio/ip/udp.hpp>

namespace quill::test {
namespace {

    TEST(MainWindowReport, SavesTheRowsOnScreenWithTheChecksOfTheCheckPage)
    {
        TempDir dir;
        const std::string config = dir.file("Config.ini").string();
        WriteWholeFile(config, "[RCS]\nIP=127.0.0.1\n[NetCheck]\nCloudHost=127.0.0.1\nNtpHost=127.0.0.2\n");
        const DiscoveryPorts ports { FreeUdpPort(), FreeUdpPort() };
        app::MainWindowParts parts;
        parts.collectors.ipconfigReport
            = TableOf({ { { "127", "0", "0", "1" }, "255.0.0.0", "", "", "lo" } });
        parts.makeSearchPage = [&] { return std::make_unique<CSearchPage>(ports); };
        const std::uint16_t closed = FreeUdpPort();
        parts.makeDevicePage = [&] {
            return std::make_unique<CDevicePage>(
                DeviceProbes { .lanPorts = { closed, closed, closed, closed },
                    .cloudPort = closed,
                    .cloudTlsPort = closed,
                    .ntpPort = closed,
                    .ntpTimeout = std::chrono::milliseconds(200),
                    .settingsPath = config });
        };
        parts.chooseReportFile = [&] { return QString::fromStdString(dir.file("site").string()); };
        CZeruruDlg window(std::move(parts));
        ASSERT_TRUE(window.Create(nullptr));
        window.ShowWindow(true);
        CSearchPage& search = *window.SearchPage();
        ASSERT_TRUE(QTest::qWaitFor([&] { return search.IsListening(); }, 5000));

        boost::asio::io_context io;
        boost::asio::ip::udp::socket camera(io, { boost::asio::ip::udp::v4(), 0 });
        camera.send_to(boost::asio::buffer(std::string("127.0.0.1 SN<7> 00:11:22:33:44:55 Gate&1 2.0.1")),
            { boost::asio::ip::make_address_v4("127.0.0.1"), ports.listenPort });
        ASSERT_TRUE(QTest::qWaitFor([&] { return search.StatusText() == "1 camera answered"; }, 5000));

        auto& list = search.ResultList();
        QTest::mouseClick(
            list.viewport(), Qt::RightButton, {}, list.visualRect(list.model()->index(0, 1)).center());
        ASSERT_TRUE(
            QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 5000));
        const QAction* save = qobject_cast<QMenu*>(QApplication::activePopupWidget())->actions().last();
        EXPECT_EQ(save->text(), "Save site report…");
        const_cast<QAction*>(save)->trigger();

        const auto saved = dir.file("site.html");
        ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(saved); }, 15000));
        const std::string page = ReadWholeFile(saved);
        for (const std::string& shown :
            std::initializer_list<std::string> { "SN&lt;7&gt;", "Gate&amp;1", "00:11:22:33:44:55",
                "1 camera answered", "127.0.0.1:" + std::to_string(closed), "127.0.0.2:", ">lo<" })
            EXPECT_NE(page.find(shown), std::string::npos) << shown;
    }

} // namespace
} // namespace quill::test
