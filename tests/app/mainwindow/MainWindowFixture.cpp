#include "MainWindowFixture.h"

#include "FreePort.h"

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
    // The tests press none of the check buttons; should one ever run, it gives up quickly.
    parts.makeDevicePage = [] {
        DeviceProbes probes;
        probes.portTimeout = probes.httpsTimeout = probes.ntpTimeout = std::chrono::milliseconds(200);
        return std::make_unique<CDevicePage>(probes);
    };
    return parts;
}

} // namespace quill::test
