// The main window over made-up adapter tables: collected at start and again
// on a change, and the check tab's four fields written at each switch and
// on a change while the tab is shown.
#include "MainWindowFixture.h"

#include "AdapterWatcher.h"
#include "CIPAddressCtrl.h"
#include "TestNetwork.h"

#include <QPushButton>

#include <boost/asio/ip/udp.hpp>

#include <atomic>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <unistd.h>

namespace quill::test {
namespace {

    // The second one's broken UTF-8 loses only its broken bytes; a fifth part is ignored.
    const std::vector<netinfo::AdapterInfo> kTwoAdapters {
        { { "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2" },
        { { "198", "18", "0", "2", "9" }, "255.255.0.0", "網\xe7\xb6", "dns\x80.example" },
    };

    using MainWindowAdapters = MainWindowTest;

    TEST_F(MainWindowAdapters, CollectedOnceTheCheckTabShowsTheAdapterSelectedAtTheMomentOfTheSwitch)
    {
        int calls = 0;
        Start([&calls](netinfo::AdapterTable& table) { return ++calls, TableOf(kTwoAdapters)(table); });
        EXPECT_EQ(Search().m_adapterCount, 2);
        EXPECT_EQ(Search().m_adapterParts[1], (std::vector<std::string> { "198", "18", "0", "2" }));
        const std::pair<int, QString> switches[] = {
            { 0, QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2") },
            { 1, QStringLiteral("198.18.0.2|255.255.0.0|網|dns.example") },
            { 0, QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2") },
        };
        for (const auto& [adapter, fields] : switches) {
            ClickTab(CZeruruDlg::kSearchTab);
            ChooseEntry(*Search().GetDlgItemAs<CComboBox>(1002), adapter);
            ClickTab(CZeruruDlg::kDeviceTab);
            EXPECT_EQ(Fields(), fields);
        }
        EXPECT_EQ(calls, 1); // tab changes never collect again
    }

    TEST_F(MainWindowAdapters, CheckTabFollowsTheSelectedAdapterWhileShown)
    {
        const std::vector<netinfo::AdapterInfo> tables[] = {
            { { { "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2", "eth0" } },
            { { { "10", "0", "6", "9" }, "255.255.0.0", "10.0.6.1", "", "eth0" } }, // readdressed
            { { { "10", "0", "6", "9" }, "255.255.0.0", "10.0.6.254", "", "wlan0" } }, // another one
            {}, // none
        };
        std::atomic<int> reading = 0;
        Start([&](netinfo::AdapterTable& table) { return TableOf(tables[reading])(table); });
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2"));
        for (const QString& expected : { QStringLiteral("10.0.6.9|255.255.0.0|10.0.6.1|"),
                 QStringLiteral("10.0.6.9|255.255.0.0|10.0.6.254|"), QStringLiteral("|||") }) {
            ++reading;
            window->AdapterWatch()->Refresh();
            EXPECT_TRUE(QTest::qWaitFor([&] { return Fields() == expected; }, 5000))
                << Fields().toStdString();
        }
        EXPECT_EQ(window->Adapters().count, 0);
    }

    // No usable adapter at the switch: the fields keep the text they had, and
    // nothing is read out of range.
    TEST_F(MainWindowAdapters, FieldsKeepTheirTextWithoutAUsableAdapter)
    {
        const struct {
            std::vector<netinfo::AdapterInfo> adapters;
            int selected; // forced into the search page before the switch; -2: leave it
        } cases[] = {
            { {}, -2 },
            { {}, 0 },
            { kTwoAdapters, -1 },
            { kTwoAdapters, 2 },
            { kTwoAdapters, 8 },
            { { { { "10", "0", "5" }, "255.0.0.0" } }, -2 },
        };
        for (const auto& c : cases) {
            Start(TableOf(c.adapters));
            for (int id = 1024; id < 1028; ++id)
                Device().SetDlgItemText(id, QStringLiteral("kept"));
            if (c.selected != -2)
                Search().m_selectedAdapter = c.selected;
            ClickTab(CZeruruDlg::kDeviceTab);
            EXPECT_TRUE(Device().isVisible());
            EXPECT_EQ(Fields(), QStringLiteral("kept|kept|kept|kept"))
                << c.adapters.size() << " " << c.selected;
        }
    }

    // Puts this thread (and the threads it starts) into a host until it goes.
    struct InsideHost {
        InsideHost(TestNetwork& network, const std::string& host) { network.enter(host); }
        ~InsideHost() { ::setns(original, CLONE_NEWNET), ::close(original); }
        int original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    };

    // Started before its cable has an address, the window lists the adapter
    // once it has one, searches its network and lets it go again.
    TEST_F(MainWindowAdapters, AnAdapterAddressedAfterTheStartIsListedSearchedAndLetGo)
    {
        if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        TestNetwork network;
        const std::string pc = network.addHost("mw"), cameras = network.addHost("mwc");
        const auto [cable, cameraSide] = network.link(pc, cameras);
        network.addAddress(cameras, cameraSide, "198.18.7.9/24");
        boost::asio::io_context io;
        std::optional<boost::asio::ip::udp::socket> camera;
        {
            const InsideHost inside(network, cameras);
            camera.emplace(io, boost::asio::ip::udp::endpoint(boost::asio::ip::udp::v4(), 0));
        }
        const InsideHost inside(network, pc);
        const std::uint16_t queryPort = camera->local_endpoint().port();
        Start({}, [&](app::MainWindowParts& parts) {
            parts.collectors.adapterList = netinfo::MakeAdapterListCollector({ "-", "-", "-", "" });
            parts.makeSearchPage = [queryPort] {
                return std::make_unique<CSearchPage>(DiscoveryPorts { FreeUdpPort(), queryPort });
            };
        });
        auto& adapters = *Search().GetDlgItemAs<CComboBox>(1002);
        const QString none
            = QStringLiteral("No connected network adapter: plug in a cable or join a network");
        EXPECT_EQ(adapters.count(), 0);
        EXPECT_EQ(Search().StatusText(), none);

        network.addAddress(pc, cable, "198.18.7.2/24");
        ASSERT_TRUE(QTest::qWaitFor([&] { return adapters.count() == 1; }, 2000)) << "the adapter within 2 s";
        EXPECT_EQ(adapters.currentText(), QStringLiteral("198.18.7.2"));
        EXPECT_EQ(Search().GetDlgItemAs<CIPAddressCtrl>(1001)->GetAddress(),
            (CSearchPage::Ipv4Octets { 198, 18, 7, 255 }));
        QTest::mouseClick(Search().GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
        pollfd waiting { camera->native_handle(), POLLIN, 0 };
        ASSERT_EQ(::poll(&waiting, 1, 2000), 1) << "a query reaches the camera's side";
        std::array<char, 16> query {};
        EXPECT_EQ(std::string(query.data(), camera->receive(boost::asio::buffer(query))), "update");

        network.ip(pc, "addr del 198.18.7.2/24 dev " + cable);
        EXPECT_TRUE(QTest::qWaitFor([&] { return adapters.count() == 0; }, 2000)) << "its going within 2 s";
        EXPECT_TRUE(QTest::qWaitFor([&] { return Search().StatusText() == none; }, 5000))
            << Search().StatusText().toStdString();
    }

} // namespace
} // namespace quill::test
