#include "MainWindowFixture.h"

#include "Logger.h"

#include <QTest>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <chrono>

namespace quill::test {

namespace {

    // The search page's listener logs when it starts. The log is set up once,
    // before the first test, in a folder of its own: its files stay where the
    // working directory was at set-up, and the tests change that directory. At
    // the end the log shuts down first, so its last file is closed before the
    // folder goes.
    class LogEnvironment : public ::testing::Environment {
    public:
        void SetUp() override
        {
            m_folder = std::make_unique<TempDir>();
            const ScopedWorkingDir inFolder(m_folder->path());
            Logger::instance();
        }
        void TearDown() override
        {
            Logger::shutdown();
            m_folder.reset();
        }

    private:
        std::unique_ptr<TempDir> m_folder;
    };

    [[maybe_unused]] ::testing::Environment* const kLogEnvironment
        = ::testing::AddGlobalTestEnvironment(new LogEnvironment);

    std::uint16_t FreeUdpPort()
    {
        namespace asio = boost::asio;
        asio::io_context io;
        asio::ip::udp::socket probe(io, asio::ip::udp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
        return probe.local_endpoint().port();
    }

} // namespace

app::MainWindowParts TestParts(netinfo::AdapterCollector adapters)
{
    app::MainWindowParts parts;
    parts.collectors.ipconfigReport = std::move(adapters);
    // Free ports, so that tests never need the discovery port and may run
    // beside a running program.
    parts.makeSearchPage = [] {
        return std::make_unique<CSearchPage>(DiscoveryPorts { FreeUdpPort(), FreeUdpPort() });
    };
    // The tests press none of the check buttons; should one ever run, it
    // gives up quickly.
    parts.makeDevicePage = [] {
        DeviceProbes probes;
        probes.portTimeout = std::chrono::milliseconds(200);
        probes.httpsTimeout = std::chrono::milliseconds(200);
        probes.ntpTimeout = std::chrono::milliseconds(200);
        return std::make_unique<CDevicePage>(probes);
    };
    return parts;
}

void MainWindowTest::Start(std::vector<netinfo::AdapterInfo> adapters)
{
    Start(TestParts(TableOf(std::move(adapters))));
}

void MainWindowTest::Start(app::MainWindowParts parts)
{
    window = std::make_unique<CZeruruDlg>(std::move(parts));
    ASSERT_TRUE(window->Create(nullptr));
    window->ShowWindow(true);
}

void MainWindowTest::ClickTab(int tab)
{
    QTabBar* bar = window->TabCtrl()->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

} // namespace quill::test
