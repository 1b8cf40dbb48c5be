#include "MainWindowFixture.h"

#include "FreePort.h"

#include <QTest>

#include <chrono>

namespace quill::test {


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
